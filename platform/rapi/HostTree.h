#pragma once
// Where phone paths land in the host folder that holds the phone's file system. Each part matches an
// existing host name case-insensitively; a part that matches nothing keeps the case it was given.
// Symbolic links and special files are never served: they are refused where a path names them, left
// out of listings, and never followed.

#include <sys/stat.h>

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/rapi/Rapi.h"

struct HostEntry {
    std::filesystem::path path;
    bool exists = false;
    bool isDirectory = false;
};

struct HostChild {
    std::u16string name;
    std::filesystem::path path;
    struct stat info;
};

class HostTree {
public:
    explicit HostTree(std::filesystem::path root) : root(std::move(root)) {}

    const std::filesystem::path& Root() const { return root; }
    // Every part but the last must name an existing folder (else ERROR_PATH_NOT_FOUND); the last may be
    // missing. The parts are valid phone names.
    DWORD Resolve(std::span<const std::u16string> parts, HostEntry* out) const;
    // The files and folders of a host folder whose names are valid on the phone, in no order.
    std::vector<HostChild> List(const std::filesystem::path& folder) const;

private:
    DWORD Lookup(const std::filesystem::path& folder, std::u16string_view name, HostEntry* out) const;

    std::filesystem::path root;
};

// The platform error for a host errno value.
DWORD ErrorFromErrno(int error);
