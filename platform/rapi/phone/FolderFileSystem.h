#pragma once
// The phone's file system kept in a host folder, shared by every session of one folder transport.
// Operations that look names up and then change them hold one lock, so that two sessions never create
// the same file in two spellings or open a file that another one is deleting. Each returns
// ERROR_SUCCESS or the platform error.

#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/rapi/phone/HostTree.h"
#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/phone/ShareTable.h"
#include "platform/rapi/wire/UniqueFd.h"

// A search's entries: their host names, sorted by phone name, in their open folder. Each is looked at
// when it is given out, so that a search over a large folder holds little: its names back to back, each
// ended by a NUL, not a find record per entry.
struct FolderListing {
    UniqueFd folder;
    std::string hostNames;
    size_t next = 0;  // where the next name starts
};

// The listing's next entry that is still there; false when none is left.
bool NextFound(FolderListing& listing, CE_FIND_DATA* data);

struct OpenedFile {
    UniqueFd fd;
    ShareTable::Lease lease;
    bool existed = false;  // whether the file was there before the open
};

class FolderFileSystem {
public:
    explicit FolderFileSystem(std::filesystem::path root) : tree(std::move(root)) {}

    const std::filesystem::path& Root() const { return tree.Root(); }

    DWORD Open(std::u16string_view name, DWORD access, DWORD share, DWORD disposition, OpenedFile* out);
    // The entries matching pattern, sorted by name; ERROR_FILE_NOT_FOUND when none match.
    DWORD Find(std::u16string_view pattern, FolderListing* out) const;
    DWORD CreateDirectory(std::u16string_view name);
    DWORD Copy(std::u16string_view from, std::u16string_view to, bool failIfExists);
    DWORD Move(std::u16string_view from, std::u16string_view to);
    DWORD Delete(std::u16string_view name);

private:
    DWORD Resolve(std::u16string_view name, HostEntry* out) const;
    DWORD ResolveExisting(std::u16string_view name, HostEntry* out) const;

    HostTree tree;
    ShareTable shares;
    std::mutex namesMutex;
};
