#include "phone/RecordAppender.h"

#include <cstring>

#include "store/FileCrc.h"
#include "store/StoreFormat.h"

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
    if (offset + kRecordHeadSize + ciphertext.size() > UINT32_MAX) {
        error = "the store would grow beyond 4 GB";
        return false;
    }
    uint8_t head[kRecordHeadSize];
    EncodeRecordHead({kRecordLive, store.lastId + 1, static_cast<uint32_t>(offset),
                      static_cast<uint32_t>(ciphertext.size())},
                     head);
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
    SetStoreHeaderTime(header, GetSystemTimeUtc());
    SetStoreHeaderChecksum(header, checksum);
    if (file.Seek(0) && file.WriteExact(header, sizeof header)) return true;
    error = "cannot write the store's header";
    return false;
}
