#pragma once
// The files open through one transport, with the access they were opened for and the sharing they
// allow, so that every session sees the others' opens. Thread-safe.
//
// An open is refused (a sharing violation) when it wants to read or write and an open handle does not
// share that, or when it does not share reading or writing and an open handle reads or writes.

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/rapi/api/Rapi.h"

class ShareTable {
public:
    // One registered open; gives it back when destroyed. The table must outlive it.
    class Lease {
    public:
        Lease() = default;
        Lease(Lease&& other) noexcept;
        Lease& operator=(Lease&& other) noexcept;
        ~Lease();

    private:
        friend class ShareTable;
        Lease(ShareTable* table, std::string key, DWORD access, DWORD share);
        void Release() noexcept;

        ShareTable* table = nullptr;
        std::string key;
        DWORD access = 0;
        DWORD share = 0;
    };

    // Registers an open of the file named key, or nullopt when it conflicts with an open handle.
    std::optional<Lease> Acquire(const std::string& key, DWORD access, DWORD share);
    // Whether the file named key, or any file below it when it names a folder, is open.
    bool InUse(const std::string& key) const;

private:
    struct Opens {
        int handles = 0;
        int readers = 0;
        int writers = 0;
        int denyRead = 0;
        int denyWrite = 0;
    };
    void Count(Opens& opens, DWORD access, DWORD share, int step);
    void Release(const Lease& lease);

    mutable std::mutex mutex;
    std::unordered_map<std::string, Opens> files;
};
