#include "platform/rapi/phone/HostTree.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>

#include "platform/Utf16.h"
#include "platform/rapi/phone/PhonePath.h"

namespace {

bool IsServed(const struct stat& info) {
    return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode);
}

DWORD Found(const std::filesystem::path& folderPath, std::string name, const struct stat& info,
            HostEntry* out) {
    if (!IsServed(info)) return ERROR_ACCESS_DENIED;
    out->path = folderPath / name;
    out->name = std::move(name);
    out->exists = true;
    out->isDirectory = S_ISDIR(info.st_mode);
    return ERROR_SUCCESS;
}

}  // namespace

DWORD OpenHostFolder(int folder, const std::string& name, UniqueFd* out) {
    *out = UniqueFd(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (*out) return ERROR_SUCCESS;
    return errno == ENOTDIR || errno == ELOOP ? ERROR_ACCESS_DENIED : ErrorFromErrno(errno);
}

DWORD HostTree::Resolve(std::span<const std::u16string> parts, HostEntry* out) const {
    UniqueFd folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) return ERROR_PATH_NOT_FOUND;
    HostEntry entry{root, {}, ".", true, true};
    for (const std::u16string& part : parts) {
        if (!entry.exists || !entry.isDirectory) return ERROR_PATH_NOT_FOUND;
        if (entry.name != ".") {
            UniqueFd child;
            if (DWORD error = OpenHostFolder(folder.Get(), entry.name, &child)) return error;
            folder = std::move(child);
        }
        std::filesystem::path folderPath = entry.path;
        if (DWORD error = Lookup(folder.Get(), folderPath, part, &entry)) return error;
    }
    entry.folder = std::move(folder);
    *out = std::move(entry);
    return ERROR_SUCCESS;
}

DWORD HostTree::Lookup(int folder, const std::filesystem::path& folderPath, std::u16string_view name,
                       HostEntry* out) const {
    std::optional<std::string> hostName = Utf16ToUtf8(name);
    if (!hostName) return ERROR_INVALID_NAME;
    struct stat info;
    if (::fstatat(folder, hostName->c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return Found(folderPath, std::move(*hostName), info, out);
    if (errno != ENOENT) return ErrorFromErrno(errno);

    // Names differing only in case cannot live side by side on the phone; the first spelling wins.
    std::vector<HostChild> children = List(folder);
    const HostChild* match = nullptr;
    for (const HostChild& child : children) {
        if (SameName(child.name, name) && (!match || child.hostName < match->hostName)) match = &child;
    }
    if (match) return Found(folderPath, match->hostName, match->info, out);
    out->path = folderPath / *hostName;
    out->name = std::move(*hostName);
    out->exists = out->isDirectory = false;
    return ERROR_SUCCESS;
}

std::vector<HostChild> HostTree::List(int folder) const {
    std::vector<HostChild> children;
    UniqueFd own;
    if (OpenHostFolder(folder, ".", &own)) return children;
    DIR* listing = ::fdopendir(own.Get());
    if (!listing) return children;
    int listed = own.Get();
    own.Release();  // closedir closes it
    while (const dirent* item = ::readdir(listing)) {
        HostChild child;
        if (LookAt(listed, item->d_name, &child)) children.push_back(std::move(child));
    }
    ::closedir(listing);
    return children;
}

bool HostTree::LookAt(int folder, const std::string& hostName, HostChild* out) {
    std::optional<std::u16string> name = Utf8ToUtf16(hostName);
    if (!name || name->size() >= MAX_PATH || !IsValidPhoneName(*name, false)) return false;
    out->name = std::move(*name);
    out->hostName = hostName;
    return ::fstatat(folder, hostName.c_str(), &out->info, AT_SYMLINK_NOFOLLOW) == 0 && IsServed(out->info);
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
