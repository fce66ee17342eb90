#include "platform/rapi/phone/FolderFileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/rapi/phone/PhonePath.h"

namespace {

constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
constexpr mode_t kFileMode = 0600;
constexpr mode_t kFolderMode = 0700;

DWORD CheckDisposition(bool exists, DWORD disposition) {
    if (exists && disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
    if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING))
        return ERROR_FILE_NOT_FOUND;
    return ERROR_SUCCESS;
}

int OpenFlags(DWORD access, DWORD disposition) {
    bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    int flags = kOpenFlags;
    if ((access & GENERIC_WRITE) || truncates) {
        flags |= (access & GENERIC_READ) ? O_RDWR : O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    if (truncates) flags |= O_TRUNC;
    if (disposition == CREATE_NEW) flags |= O_CREAT | O_EXCL;
    if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) flags |= O_CREAT;
    return flags;
}

// "No sharing" across processes too: an open file description lock over the whole file, exclusive for an
// open that writes and shared for one that only reads, so that another process's writer waits its turn.
DWORD LockAcrossProcesses(int fd, DWORD access) {
    struct flock lock = {};
    lock.l_type = (access & GENERIC_WRITE) ? F_WRLCK : F_RDLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return ERROR_SUCCESS;
    return errno == EAGAIN || errno == EACCES ? ERROR_SHARING_VIOLATION : ErrorFromErrno(errno);
}

// Locks the opened file across processes, then checks that its name still leads to it: another program may
// have moved or deleted the file between this open and the lock, and a lock on the file under its old name
// guards nothing. That counts as the other program's turn.
DWORD LockNamedFile(const HostEntry& entry, int fd, DWORD access) {
    if (DWORD error = LockAcrossProcesses(fd, access)) return error;
    struct stat opened, named;
    if (::fstat(fd, &opened) != 0) return ErrorFromErrno(errno);
    if (::fstatat(entry.folder.Get(), entry.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return ERROR_SHARING_VIOLATION;
    return ERROR_SUCCESS;
}

FILETIME FileTimeOf(const timespec& time) {
    constexpr int64_t kEpochSeconds = 11644473600;  // from 1601-01-01, where file times count from
    constexpr int64_t kTicksPerSecond = 10'000'000;
    constexpr int64_t kLastSecond = INT64_MAX / kTicksPerSecond - kEpochSeconds - 1;
    int64_t seconds = std::clamp<int64_t>(time.tv_sec, -kEpochSeconds, kLastSecond) + kEpochSeconds;
    uint64_t ticks = static_cast<uint64_t>(seconds * kTicksPerSecond + time.tv_nsec / 100);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// The host keeps no creation time; the last write time stands in for it. Object ids stay 0.
CE_FIND_DATA FindDataOf(const HostChild& child) {
    CE_FIND_DATA data;
    std::memset(&data, 0, sizeof data);
    bool folder = S_ISDIR(child.info.st_mode);
    uint64_t size = folder ? 0 : static_cast<uint64_t>(child.info.st_size);
    data.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data.ftCreationTime = FileTimeOf(child.info.st_mtim);
    data.ftLastAccessTime = FileTimeOf(child.info.st_atim);
    data.ftLastWriteTime = FileTimeOf(child.info.st_mtim);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    std::copy(child.name.begin(), child.name.end(), data.cFileName);  // List keeps names under MAX_PATH
    return data;
}

// A regular file opened without following a link, refused for writing when another name links to it (which
// may lie outside the phone). Truncated only once it is known to be served.
DWORD OpenServedFile(const HostEntry& entry, int flags, UniqueFd* out) {
    bool writing = (flags & O_ACCMODE) != O_RDONLY;
    UniqueFd fd(::openat(entry.folder.Get(), entry.name.c_str(), flags & ~O_TRUNC, kFileMode));
    if (!fd) return ErrorFromErrno(errno);
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) return ErrorFromErrno(errno);
    if (!S_ISREG(info.st_mode) || (writing && info.st_nlink > 1)) return ERROR_ACCESS_DENIED;
    if ((flags & O_TRUNC) && ::ftruncate(fd.Get(), 0) != 0) return ErrorFromErrno(errno);
    *out = std::move(fd);
    return ERROR_SUCCESS;
}

// Copies the contents and the last write time, as the phone's copy does.
DWORD CopyContents(int in, int out) {
    char buffer[1 << 16];
    off_t offset = 0;
    for (;;) {
        size_t read = 0, written = 0;
        if (int error = ReadAt(in, buffer, sizeof buffer, offset, &read)) return ErrorFromErrno(error);
        if (read == 0) break;
        if (int error = WriteAt(out, buffer, read, offset, &written)) return ErrorFromErrno(error);
        offset += static_cast<off_t>(read);
    }
    struct stat info;
    if (::fstat(in, &info) == 0) {
        const timespec times[] = {info.st_atim, info.st_mtim};
        ::futimens(out, times);
    }
    return ERROR_SUCCESS;
}

// A move or a delete takes its turn as a writer's open would: it holds the file alone, across processes,
// until the name is changed, so that it never moves or deletes a file another program is saving.
DWORD HoldAlone(const HostEntry& entry, UniqueFd* out) {
    UniqueFd fd(::openat(entry.folder.Get(), entry.name.c_str(), O_WRONLY | kOpenFlags));
    if (!fd) return ErrorFromErrno(errno);
    if (DWORD error = LockNamedFile(entry, fd.Get(), GENERIC_WRITE)) return error;
    *out = std::move(fd);
    return ERROR_SUCCESS;
}

}  // namespace

DWORD FolderFileSystem::Resolve(std::u16string_view name, HostEntry* out) const {
    PhonePath path;
    if (DWORD error = ParsePhonePath(name, false, &path)) return error;
    return tree.Resolve(path.parts, out);
}

DWORD FolderFileSystem::ResolveExisting(std::u16string_view name, HostEntry* out) const {
    if (DWORD error = Resolve(name, out)) return error;
    return out->exists ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

DWORD FolderFileSystem::Open(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                             OpenedFile* out) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return ERROR_INVALID_PARAMETER;
    if (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE)) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(namesMutex);
    HostEntry entry;
    if (DWORD error = Resolve(name, &entry)) return error;
    if (entry.isDirectory) return ERROR_ACCESS_DENIED;
    if (DWORD error = CheckDisposition(entry.exists, disposition)) return error;
    // Checked before the open so that a refused open never truncates.
    std::optional<ShareTable::Lease> lease = shares.Acquire(entry.path.native(), access, share);
    if (!lease) return ERROR_SHARING_VIOLATION;
    int flags = OpenFlags(access, disposition);
    bool locked = share == 0;
    UniqueFd fd;
    if (DWORD error = OpenServedFile(entry, locked ? flags & ~O_TRUNC : flags, &fd)) return error;
    if (locked) {
        if (DWORD error = LockNamedFile(entry, fd.Get(), access)) return error;
        // Truncated only once the file is this open's alone.
        if ((flags & O_TRUNC) && ::ftruncate(fd.Get(), 0) != 0) return ErrorFromErrno(errno);
    }
    *out = {std::move(fd), std::move(*lease), entry.exists};
    return ERROR_SUCCESS;
}

bool NextFound(FolderListing& listing, CE_FIND_DATA* data) {
    while (listing.next < listing.hostNames.size()) {
        std::string name(listing.hostNames.c_str() + listing.next);
        listing.next += name.size() + 1;
        HostChild child;
        if (!HostTree::LookAt(listing.folder.Get(), name, &child)) continue;
        *data = FindDataOf(child);
        return true;
    }
    return false;
}

DWORD FolderFileSystem::Find(std::u16string_view pattern, FolderListing* out) const {
    PhonePath path;
    if (DWORD error = ParsePhonePath(pattern, true, &path)) return error;
    if (path.parts.empty()) return ERROR_FILE_NOT_FOUND;
    HostEntry folder;
    std::span<const std::u16string> parents(path.parts.data(), path.parts.size() - 1);
    if (DWORD error = tree.Resolve(parents, &folder)) return error;
    if (!folder.exists || !folder.isDirectory) return ERROR_PATH_NOT_FOUND;

    UniqueFd listed;
    if (DWORD error = OpenHostFolder(folder.folder.Get(), folder.name, &listed)) return error;
    std::vector<HostChild> children = tree.List(listed.Get());
    std::erase_if(children,
                  [&](const HostChild& child) { return !MatchesPattern(path.parts.back(), child.name); });
    if (children.empty()) return ERROR_FILE_NOT_FOUND;
    std::sort(children.begin(), children.end(),
              [](const HostChild& a, const HostChild& b) { return NameLess(a.name, b.name); });
    out->hostNames.clear();
    for (const HostChild& child : children) out->hostNames.append(child.hostName).push_back('\0');
    out->hostNames.shrink_to_fit();
    out->folder = std::move(listed);
    out->next = 0;
    return ERROR_SUCCESS;
}

DWORD FolderFileSystem::CreateDirectory(std::u16string_view name) {
    std::lock_guard lock(namesMutex);
    HostEntry entry;
    if (DWORD error = Resolve(name, &entry)) return error;
    if (entry.exists) return ERROR_ALREADY_EXISTS;
    return ::mkdirat(entry.folder.Get(), entry.name.c_str(), kFolderMode) == 0 ? ERROR_SUCCESS
                                                                               : ErrorFromErrno(errno);
}

DWORD FolderFileSystem::Copy(std::u16string_view from, std::u16string_view to, bool failIfExists) {
    std::lock_guard lock(namesMutex);
    HostEntry source, target;
    if (DWORD error = ResolveExisting(from, &source)) return error;
    if (source.isDirectory) return ERROR_ACCESS_DENIED;
    if (DWORD error = Resolve(to, &target)) return error;
    if (target.isDirectory) return failIfExists ? ERROR_FILE_EXISTS : ERROR_ACCESS_DENIED;
    if (target.path == source.path) return failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION;
    UniqueFd in, out;
    // A copy that must not overwrite creates its target first, exclusively: of two programs copying to one
    // name at once, the second finds it taken.
    if (failIfExists) {
        if (DWORD error = OpenServedFile(target, O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, &out))
            return error;
    }
    // Held while copying, as the phone's own opens of source and target would be.
    std::optional<ShareTable::Lease> reading =
        shares.Acquire(source.path.native(), GENERIC_READ, FILE_SHARE_READ);
    std::optional<ShareTable::Lease> writing = shares.Acquire(target.path.native(), GENERIC_WRITE, 0);
    DWORD error = reading && writing ? ERROR_SUCCESS : ERROR_SHARING_VIOLATION;
    if (!error) error = OpenServedFile(source, O_RDONLY | kOpenFlags, &in);
    // Held across processes too: a copy never reads a file another program is writing, nor overwrites
    // one it has open.
    if (!error) error = LockNamedFile(source, in.Get(), GENERIC_READ);
    if (!error && !out) error = OpenServedFile(target, O_WRONLY | O_CREAT | kOpenFlags, &out);
    if (!error) error = LockNamedFile(target, out.Get(), GENERIC_WRITE);
    if (!error && ::ftruncate(out.Get(), 0) != 0) error = ErrorFromErrno(errno);
    if (!error) error = CopyContents(in.Get(), out.Get());
    // No half copy is left behind.
    if (error && !target.exists && out) ::unlinkat(target.folder.Get(), target.name.c_str(), 0);
    return error;
}

DWORD FolderFileSystem::Move(std::u16string_view from, std::u16string_view to) {
    std::lock_guard lock(namesMutex);
    HostEntry source, target;
    if (DWORD error = ResolveExisting(from, &source)) return error;
    if (source.path == tree.Root()) return ERROR_ACCESS_DENIED;
    if (DWORD error = Resolve(to, &target)) return error;
    if (target.exists) return ERROR_ALREADY_EXISTS;
    if (shares.InUse(source.path.native())) return ERROR_SHARING_VIOLATION;
    UniqueFd held;
    if (!source.isDirectory) {
        if (DWORD error = HoldAlone(source, &held)) return error;
    }
    // Never over a name that appeared since the lookup.
    return ::renameat2(source.folder.Get(), source.name.c_str(), target.folder.Get(), target.name.c_str(),
                       RENAME_NOREPLACE) == 0
               ? ERROR_SUCCESS
               : ErrorFromErrno(errno);
}

DWORD FolderFileSystem::Delete(std::u16string_view name) {
    std::lock_guard lock(namesMutex);
    HostEntry entry;
    if (DWORD error = ResolveExisting(name, &entry)) return error;
    if (entry.isDirectory) return ERROR_ACCESS_DENIED;
    if (shares.InUse(entry.path.native())) return ERROR_SHARING_VIOLATION;
    UniqueFd held;
    if (DWORD error = HoldAlone(entry, &held)) return error;
    return ::unlinkat(entry.folder.Get(), entry.name.c_str(), 0) == 0 ? ERROR_SUCCESS : ErrorFromErrno(errno);
}
