#include "store/StoreSalvage.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/ByteOrder.h"
#include "store/Aes256.h"
#include "store/BufferCipher.h"
#include "store/StoreFormat.h"
#include "store/TesseraEncryptedLinkList.h"
#include "store/TesseraItem.h"

namespace {

class RecordFinder {
public:
    RecordFinder(const Bytes& file, const SecureBytes& password) : file(file) {
        PasswordKey(password.data(), password.size(), key);
        aes.SetKey(key.bytes(), CAes256::Decrypt);
    }

    // The length of the ciphertext of a record whose head starts at `at`, or 0 when none decrypts and
    // parses there. The length comes from the decrypted length word in the first block, not from the head.
    uint32_t CipherLengthAt(uint64_t at) const {
        uint64_t data = at + kRecordHeadSize;
        if (data + 16 > file.size()) return 0;
        uint8_t first[16];
        aes.DecryptBlock(file.data() + data, first);  // CBC from a zero IV: the first block stands alone
        size_t length = EncryptedLength(GetU32(first));
        SecureZero(first, sizeof first);
        if (length == 0 || data + length > file.size()) return 0;
        SecureBytes plain;
        CTesseraItem item;
        if (!DecryptBuffer(key, file.data() + data, length, plain) ||
            !item.Deserialize(plain.data(), plain.size()))
            return 0;
        return static_cast<uint32_t>(length);
    }

private:
    const Bytes& file;
    Key32 key;
    CAes256 aes;
};

struct Found {
    uint32_t at = 0;
    uint32_t length = 0;  // of the ciphertext
};

// The live records that decrypt, in file order; of two with one id only the later.
std::vector<Found> FindLiveRecords(const Bytes& file, const SecureBytes& password, uint64_t area) {
    RecordFinder finder(file, password);
    std::map<uint32_t, Found> lastOfId;
    for (uint64_t at = area; at + kRecordHeadSize < file.size();) {
        uint32_t length = finder.CipherLengthAt(at);
        if (length == 0) {
            at += 4;  // records start on whole words
            continue;
        }
        RecordHead head = DecodeRecordHead(file.data() + at);
        if (head.deleted == kRecordLive) lastOfId[head.id] = {static_cast<uint32_t>(at), length};
        at += kRecordHeadSize + length;
    }
    std::vector<Found> found;
    for (const auto& [id, record] : lastOfId) found.push_back(record);
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.at < b.at; });
    return found;
}

}  // namespace

void CloseWithDeletedRecord(Bytes& image, size_t at) {
    if (image.size() - at < kRecordHeadSize) image.resize(at + kRecordHeadSize, 0);
    EncodeRecordHead({kRecordDeleted, 0, static_cast<uint32_t>(at),
                      static_cast<uint32_t>(image.size() - at - kRecordHeadSize)},
                     image.data() + at);
}

bool SalvageStoreImage(const Bytes& original, const SecureBytes& password, Bytes& image, uint32_t& kept) {
    if (original.size() < kStoreHeaderSize + 4) return false;
    uint64_t area = uint64_t(kStoreHeaderSize) + 4 + GetU32(original.data() + kStoreHeaderSize) +
                    CTesseraEncryptedLinkList::kPasswordHashSize;
    if (area > original.size()) return false;
    std::vector<Found> found = FindLiveRecords(original, password, area);
    image.assign(original.begin(), original.begin() + area);
    for (const Found& record : found) {
        RecordHead head = DecodeRecordHead(original.data() + record.at);
        size_t at = image.size();
        image.resize(at + kRecordHeadSize);
        EncodeRecordHead({kRecordLive, head.id, static_cast<uint32_t>(at), record.length}, image.data() + at);
        const uint8_t* data = original.data() + record.at + kRecordHeadSize;
        image.insert(image.end(), data, data + record.length);
    }
    if (image.size() < original.size()) {
        size_t rest = image.size();
        image.resize(original.size(), 0);
        CloseWithDeletedRecord(image, rest);
    }
    SealStoreFile(image.data(), image.size());
    kept = static_cast<uint32_t>(found.size());
    return true;
}
