#include "platform/rapi/HostTree.h"

#include <errno.h>

#include "platform/rapi/PhonePath.h"
#include "platform/Utf16.h"

namespace {

bool IsServed(const struct stat& info) {
    return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode);
}

DWORD Found(std::filesystem::path path, const struct stat& info, HostEntry* out) {
    if (!IsServed(info)) return ERROR_ACCESS_DENIED;
    *out = {std::move(path), true, S_ISDIR(info.st_mode)};
    return ERROR_SUCCESS;
}

}  // namespace

DWORD HostTree::Resolve(std::span<const std::u16string> parts, HostEntry* out) const {
    HostEntry entry{root, true, true};
    for (const std::u16string& part : parts) {
        if (!entry.exists || !entry.isDirectory) return ERROR_PATH_NOT_FOUND;
        if (DWORD error = Lookup(entry.path, part, &entry)) return error;
    }
    *out = std::move(entry);
    return ERROR_SUCCESS;
}

DWORD HostTree::Lookup(const std::filesystem::path& folder, std::u16string_view name, HostEntry* out) const {
    std::optional<std::string> hostName = Utf16ToUtf8(name);
    if (!hostName) return ERROR_INVALID_NAME;
    std::filesystem::path exact = folder / *hostName;
    struct stat info;
    if (::lstat(exact.c_str(), &info) == 0) return Found(exact, info, out);
    if (errno != ENOENT) return ErrorFromErrno(errno);

    // Names differing only in case cannot live side by side on the phone; the first spelling wins.
    std::vector<HostChild> children = List(folder);
    const HostChild* match = nullptr;
    for (const HostChild& child : children) {
        if (SameName(child.name, name) && (!match || child.path < match->path)) match = &child;
    }
    if (match) return Found(match->path, match->info, out);
    *out = {std::move(exact), false, false};
    return ERROR_SUCCESS;
}

std::vector<HostChild> HostTree::List(const std::filesystem::path& folder) const {
    std::vector<HostChild> children;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::optional<std::u16string> name = Utf8ToUtf16(it->path().filename().native());
        if (!name || name->size() >= MAX_PATH || !IsValidPhoneName(*name, false)) continue;
        HostChild child{std::move(*name), it->path(), {}};
        if (::lstat(child.path.c_str(), &child.info) == 0 && IsServed(child.info))
            children.push_back(std::move(child));
    }
    return children;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EACCES:
        case EPERM:
        case ELOOP:
        case EISDIR:
        case EROFS:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG:
            return ERROR_INVALID_NAME;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_GEN_FAILURE;
    }
}
