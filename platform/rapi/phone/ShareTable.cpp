#include "platform/rapi/phone/ShareTable.h"

#include <algorithm>

ShareTable::Lease::Lease(ShareTable* table, std::string key, DWORD access, DWORD share)
    : table(table), key(std::move(key)), access(access), share(share) {}

ShareTable::Lease::Lease(Lease&& other) noexcept
    : table(other.table), key(std::move(other.key)), access(other.access), share(other.share) {
    other.table = nullptr;
}

ShareTable::Lease& ShareTable::Lease::operator=(Lease&& other) noexcept {
    if (this != &other) {
        Release();
        table = other.table;
        key = std::move(other.key);
        access = other.access;
        share = other.share;
        other.table = nullptr;
    }
    return *this;
}

ShareTable::Lease::~Lease() {
    Release();
}

void ShareTable::Lease::Release() noexcept {
    if (table) table->Release(*this);
    table = nullptr;
}

std::optional<ShareTable::Lease> ShareTable::Acquire(const std::string& key, DWORD access, DWORD share) {
    std::lock_guard lock(mutex);
    Opens& opens = files[key];
    bool refused =
        ((access & GENERIC_READ) && opens.denyRead) || ((access & GENERIC_WRITE) && opens.denyWrite) ||
        (!(share & FILE_SHARE_READ) && opens.readers) || (!(share & FILE_SHARE_WRITE) && opens.writers);
    if (refused) return std::nullopt;
    Count(opens, access, share, 1);
    return Lease(this, key, access, share);
}

bool ShareTable::InUse(const std::string& key) const {
    std::lock_guard lock(mutex);
    std::string folder = key + '/';
    return std::any_of(files.begin(), files.end(),
                       [&](const auto& file) { return file.first == key || file.first.starts_with(folder); });
}

void ShareTable::Count(Opens& opens, DWORD access, DWORD share, int step) {
    opens.handles += step;
    opens.readers += (access & GENERIC_READ) ? step : 0;
    opens.writers += (access & GENERIC_WRITE) ? step : 0;
    opens.denyRead += (share & FILE_SHARE_READ) ? 0 : step;
    opens.denyWrite += (share & FILE_SHARE_WRITE) ? 0 : step;
}

void ShareTable::Release(const Lease& lease) {
    std::lock_guard lock(mutex);
    auto it = files.find(lease.key);
    if (it == files.end()) return;
    Count(it->second, lease.access, lease.share, -1);
    if (it->second.handles == 0) files.erase(it);
}
