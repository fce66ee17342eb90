#pragma once
// Where phone paths land in the host folder that holds the phone's file system. Each part matches an
// existing host name case-insensitively; a part that matches nothing keeps the case it was given.
// Symbolic links and special files are never served: they are refused where a path names them, left
// out of listings, and never followed. Every lookup walks down from a descriptor of the root, one folder
// descriptor at a time opened without following links, so that a folder swapped for a link while a path
// is looked up ends the walk instead of leading outside.

#include <sys/stat.h>

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/wire/UniqueFd.h"

struct HostEntry {
    std::filesystem::path path;  // names the entry among the transport's open files
    UniqueFd folder;             // the folder that holds it; the root itself for the root
    std::string name;            // its name in `folder`; "." for the root
    bool exists = false;
    bool isDirectory = false;
};

struct HostChild {
    std::u16string name;
    std::string hostName;
    struct stat info;
};

class HostTree {
public:
    explicit HostTree(std::filesystem::path root) : root(std::move(root)) {}

    const std::filesystem::path& Root() const { return root; }
    // Every part but the last must name an existing folder (else ERROR_PATH_NOT_FOUND); the last may be
    // missing. The parts are valid phone names.
    DWORD Resolve(std::span<const std::u16string> parts, HostEntry* out) const;
    // The files and folders of an open host folder whose names are valid on the phone, in no order.
    std::vector<HostChild> List(int folder) const;
    // The entry of that host name in an open folder, if it is there and served under a valid phone name.
    static bool LookAt(int folder, const std::string& hostName, HostChild* out);

private:
    DWORD Lookup(int folder, const std::filesystem::path& folderPath, std::u16string_view name,
                 HostEntry* out) const;

    std::filesystem::path root;
};

// Opens an entry's folder, or a child folder of `folder`, without following a link; ERROR_ACCESS_DENIED
// when a link stands there now.
DWORD OpenHostFolder(int folder, const std::string& name, UniqueFd* out);
// The platform error for a host errno value.
DWORD ErrorFromErrno(int error);
