#include "phone/RecordAppender.h"

#include <cstring>

#include "platform/ByteOrder.h"
#include "store/FileCrc.h"

namespace {

constexpr uint32_t kTimeOffset = 52;
constexpr uint32_t kChecksumOffset = 68;

}  // namespace

RecordAppender::RecordAppender(CTesseraEncryptedLinkList& target, const SecureBytes& password)
    : store(target) {
    PasswordKey(password.data(), password.size(), key);
}

bool RecordAppender::Begin(std::string& error) {
    std::memcpy(header, store.Header(), sizeof header);
    checksum = store.Checksum();
    if (file.Open(store.Path(), GENERIC_READ | GENERIC_WRITE) && file.Size(end)) return true;
    error = "cannot open the store for writing";
    return false;
}

bool RecordAppender::Add(const CTesseraItem& item, std::string& error) {
    if (!item.Serialize(plain) || !EncryptBuffer(key, plain.data(), plain.size(), ciphertext)) {
        error = "out of memory";
        return false;
    }
    uint64_t offset = uint64_t(end) + pending.size();
    if (offset + CTesseraEncryptedLinkList::kRecordHeadSize + ciphertext.size() > UINT32_MAX) {
        error = "the store would grow beyond 4 GB";
        return false;
    }
    uint8_t head[CTesseraEncryptedLinkList::kRecordHeadSize];
    uint8_t* p = PutU32(head, 0);  // live
    p = PutU32(p, store.lastId + 1);
    p = PutU32(p, static_cast<uint32_t>(offset));
    PutU32(p, static_cast<uint32_t>(ciphertext.size()));
    pending.insert(pending.end(), head, head + sizeof head);
    pending.insert(pending.end(), ciphertext.begin(), ciphertext.end());
    ++store.lastId;
    return pending.size() < kBlockSize || Flush(error);
}

bool RecordAppender::Flush(std::string& error) {
    uint32_t size = static_cast<uint32_t>(pending.size());
    if (!file.Seek(end) || !file.WriteExact(pending.data(), size)) {
        error = "cannot write to the store";
        return false;
    }
    checksum = FileCrcUpdate(checksum, pending.data(), size);
    end += size;
    pending.clear();
    StoreTime(GetSystemTimeUtc(), header + kTimeOffset);
    PutU32(header + kChecksumOffset, checksum);
    if (file.Seek(0) && file.WriteExact(header, sizeof header)) return true;
    error = "cannot write the store's header";
    return false;
}
