#include "store/TesseraEncryptedLinkList.h"

#include <cstring>
#include <new>
#include <vector>

#include "diag/STLogFile.h"
#include "platform/ByteOrder.h"
#include "store/FileCrc.h"
#include "store/PhoneFile.h"
#include "store/Sha256.h"

#define FILE_ACCESS_ERROR() ST_LOG("Critical Error: TesseraFileAccess")

namespace {

constexpr uint32_t kChecksumChunk = 64 * 1024;

// FileCrc of everything from the current position to the end of the file, and where that end is.
bool ChecksumToEnd(PhoneFile& file, uint32_t start, uint32_t& crc, uint32_t& fileSize) {
    Bytes chunk(kChecksumChunk);
    crc = kFileCrcStart;
    uint64_t end = start;
    for (;;) {
        int64_t n = file.Read(chunk.data(), kChecksumChunk);
        if (n < 0) return false;
        if (n == 0) break;
        crc = FileCrcUpdate(crc, chunk.data(), static_cast<size_t>(n));
        end += static_cast<uint64_t>(n);
        if (end > UINT32_MAX) return false;
    }
    fileSize = static_cast<uint32_t>(end);
    return true;
}

bool Allocate(Bytes& buffer, uint32_t size) {
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

CTesseraEncryptedLinkList::CTesseraEncryptedLinkList(std::u16string filePath, uint32_t fileType,
                                                     Version minimum)
    : path(std::move(filePath)), expectedType(fileType), minimumVersion(minimum) {}

CTesseraEncryptedLinkList::~CTesseraEncryptedLinkList() {
    Reset();
}

void CTesseraEncryptedLinkList::Reset() {
    records.RemoveAll();
    std::memset(header, 0, sizeof header);
    SecureZero(passwordBlock.data(), passwordBlock.size());
    passwordBlock.clear();
    std::memset(passwordHash, 0, sizeof passwordHash);
    SecureZero(sessionKey.bytes(), Key32::kSize);
    lastId = 0;
    fileSize = 0;
    highestListedId = 0;
    checksumKnown = false;
    lastChange = kChangeDone;
    openError = ERROR_SUCCESS;
}

uint32_t CTesseraEncryptedLinkList::FileType() const {
    return StoreHeaderType(header);
}

CTesseraEncryptedLinkList::Version CTesseraEncryptedLinkList::FileVersion() const {
    return StoreHeaderVersion(header);
}

SYSTEMTIME CTesseraEncryptedLinkList::ModifiedTime() const {
    return StoreHeaderTime(header);
}

uint32_t CTesseraEncryptedLinkList::Checksum() const {
    return StoreHeaderChecksum(header);
}

int CTesseraEncryptedLinkList::Open() {
    Reset();
    PhoneFile file;
    if (!file.Open(path, GENERIC_READ)) {
        openError = file.LastError();
        return kCannotOpen;
    }
    int code = Load(file);
    checksumKnown = code == kOpened;
    return code;
}

int CTesseraEncryptedLinkList::Load(PhoneFile& file) {
    if (!file.ReadExact(header, kStoreHeaderSize)) return kHeaderUnreadable;
    if (std::memcmp(header, kStoreSignature, sizeof kStoreSignature) != 0) return kBadSignature;
    if (FileType() != expectedType) return kWrongType;
    Version version = FileVersion();
    for (size_t i = 0; i < version.size(); ++i) {
        if (version[i] < minimumVersion[i]) return kVersionTooOld;
    }
    uint32_t crc = 0;
    if (!ChecksumToEnd(file, kStoreHeaderSize, crc, fileSize) || !file.Seek(kStoreHeaderSize) ||
        crc != Checksum())
        return kChecksumMismatch;
    int code = LoadPasswordSection(file, fileSize);
    return code != kOpened ? code : LoadRecords(file, fileSize);
}

int CTesseraEncryptedLinkList::LoadPasswordSection(PhoneFile& file, uint32_t fileSize) {
    uint8_t word[4];
    if (!file.ReadExact(word, 4) || GetU32(word) == 0) return kBadPasswordLength;
    uint32_t length = GetU32(word);
    // The block is allocated only when the file really holds that many bytes.
    if (length > fileSize - (kStoreHeaderSize + 4)) return kPasswordBlockUnreadable;
    if (!Allocate(passwordBlock, length)) return kOutOfMemory;
    if (!file.ReadExact(passwordBlock.data(), length)) {
        passwordBlock.clear();
        return kPasswordBlockUnreadable;
    }
    if (!file.ReadExact(passwordHash, kPasswordHashSize)) return kPasswordHashUnreadable;
    return kOpened;
}

int CTesseraEncryptedLinkList::LoadRecords(PhoneFile& file, uint32_t fileSize) {
    uint32_t position = kStoreHeaderSize + 4 + PasswordBlockLength() + kPasswordHashSize;
    for (;;) {
        uint8_t head[kRecordHeadSize];
        int64_t got = file.Read(head, kRecordHeadSize);
        // The file may end inside the first word of a record; a failed read is no end.
        if (got < 0) return kRecordUnreadable;
        if (got < 4) return kOpened;
        if (got != kRecordHeadSize) return kRecordUnreadable;
        item_entry_struct entry;
        RecordHead stored = DecodeRecordHead(head);
        entry.deleted = stored.deleted;
        entry.id = stored.id;
        entry.offset = position;  // the stored offset word is not trusted
        entry.storedOffset = stored.offset;
        uint32_t length = stored.length;
        uint32_t dataStart = position + kRecordHeadSize;
        if (length > fileSize - dataStart) return kRecordUnreadable;
        if (!Allocate(entry.data, length)) return kOutOfMemory;
        if (length > 0 && !file.ReadExact(entry.data.data(), length)) return kRecordUnreadable;
        position = dataStart + length;
        if (entry.deleted != 0) continue;
        if (entry.id != kCategoryRecordId && entry.id > lastId) lastId = entry.id;
        List(std::move(entry));
    }
}

bool CTesseraEncryptedLinkList::Reload() {
    Bytes oldBlock = passwordBlock;
    uint8_t oldHash[kPasswordHashSize];
    std::memcpy(oldHash, passwordHash, sizeof oldHash);
    Key32 key = sessionKey;
    bool samePassword = Open() == kOpened && passwordBlock == oldBlock &&
                        std::memcmp(oldHash, passwordHash, sizeof oldHash) == 0;
    if (samePassword) sessionKey = key;
    SecureZero(oldBlock.data(), oldBlock.size());
    return samePassword;
}

bool CTesseraEncryptedLinkList::CheckPassword(const uint8_t* password, size_t length) {
    if (!password || length == 0) return false;
    Key32 key;
    PasswordKey(password, length, key);
    SecureBytes plain;
    if (!DecryptBuffer(key, passwordBlock.data(), passwordBlock.size(), plain)) return false;
    size_t skip = plain[0];
    if (skip > plain.size()) return false;
    uint8_t digest[32];
    Sha256(plain.data() + skip, plain.size() - skip, digest);
    if (std::memcmp(digest, passwordHash, sizeof digest) != 0) return false;
    sessionKey = key;
    return true;
}

void CTesseraEncryptedLinkList::List(item_entry_struct&& entry) {
    if (entry.id != kCategoryRecordId && entry.id > highestListedId) highestListedId = entry.id;
    records.AddTail(std::move(entry));
}

item_entry_struct* CTesseraEncryptedLinkList::FindRecord(uint32_t id) {
    // A new id is above every listed one: an add's check needs no walk.
    if (id != kCategoryRecordId && id > highestListedId) return nullptr;
    for (auto* node = records.head; node; node = node->next) {
        if (node->element.id == id && node->element.deleted == 0) return &node->element;
    }
    return nullptr;
}

uint32_t CTesseraEncryptedLinkList::GetRecordData(const item_entry_struct* entry, SecureBytes* out) {
    if (!entry || !out) return 0;
    if (!DecryptBuffer(sessionKey, entry->data.data(), entry->data.size(), *out)) {
        FILE_ACCESS_ERROR();
        return 0;
    }
    return static_cast<uint32_t>(out->size());
}

bool CTesseraEncryptedLinkList::Encrypt(const CTesseraItem& item, Bytes& ciphertext) const {
    SecureBytes plain;
    if (!item.Serialize(plain) || !EncryptBuffer(sessionKey, plain.data(), plain.size(), ciphertext)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    return true;
}

bool CTesseraEncryptedLinkList::AddRecord(const CTesseraItem& item, uint32_t id) {
    const NewRecord one{&item, id};
    return AddRecords({&one, 1});
}

bool CTesseraEncryptedLinkList::AddRecords(std::span<const NewRecord> batch) {
    lastChange = batch.empty() ? kChangeDone : kChangeFailed;
    if (batch.empty()) return true;
    std::vector<item_entry_struct> entries;
    try {
        entries.resize(batch.size());
    } catch (const std::bad_alloc&) {
        FILE_ACCESS_ERROR();
        return false;
    }
    for (size_t i = 0; i < batch.size(); ++i) {
        entries[i].id = batch[i].id;
        if (!Encrypt(*batch[i].item, entries[i].data)) return false;
    }
    PhoneFile file;
    Change change;
    if (!BeginChange(file, change) || !AppendRecords(file, change, entries) || !FinishChange(file, change)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    for (item_entry_struct& entry : entries) List(std::move(entry));
    return true;
}

bool CTesseraEncryptedLinkList::UpdateRecord(const CTesseraItem& item, item_entry_struct* entry) {
    lastChange = kChangeFailed;
    if (!entry) return false;
    item_entry_struct copy;
    copy.id = entry->id;
    copy.offset = entry->offset;
    if (!Encrypt(item, copy.data)) return false;
    PhoneFile file;
    Change change;
    bool written = BeginChange(file, change);
    if (written && copy.length() == entry->length()) {
        written = RewriteRecord(file, change, *entry, copy);
    } else if (written) {
        // The new copy first: a cut before the old one is marked leaves both, never neither.
        written = AppendRecords(file, change, {&copy, 1}) && MarkDeleted(file, change, *entry);
    }
    if (!written || !FinishChange(file, change)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    *entry = std::move(copy);
    return true;
}

bool CTesseraEncryptedLinkList::DeleteRecord(item_entry_struct* entry) {
    lastChange = kChangeFailed;
    for (records.MoveFirst(); records.cursor; records.MoveNext()) {
        if (&records.GetCurrent() != entry) continue;
        PhoneFile file;
        Change change;
        bool marked =
            BeginChange(file, change) && MarkDeleted(file, change, *entry) && FinishChange(file, change);
        if (!marked) FILE_ACCESS_ERROR();
        records.RemoveCurrent();
        return marked;
    }
    return false;
}

bool CTesseraEncryptedLinkList::HeaderUnchanged() const {
    PhoneFile file;
    uint8_t onDisk[kStoreHeaderSize];
    return file.Open(path, GENERIC_READ) && file.ReadExact(onDisk, kStoreHeaderSize) &&
           std::memcmp(onDisk, header, kStoreHeaderSize) == 0;
}

bool CTesseraEncryptedLinkList::BeginChange(PhoneFile& file, Change& change) {
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE)) {
        if (file.LastError() == ERROR_SHARING_VIOLATION) lastChange = kChangeInUse;
        FILE_ACCESS_ERROR();
        return false;
    }
    uint8_t onDisk[kStoreHeaderSize];
    uint32_t size = 0;
    if (!file.ReadExact(onDisk, kStoreHeaderSize) || !file.Size(size)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    // Another program changed the file since this store read or wrote it: its offsets are stale.
    if (std::memcmp(onDisk, header, kStoreHeaderSize) != 0 || (checksumKnown && size != fileSize)) {
        lastChange = kChangeStale;
        ST_LOG("Critical Error: TesseraFileAccess: the file changed since it was read, nothing written");
        return false;
    }
    change = {Checksum(), size, checksumKnown};
    checksumKnown = false;  // until the header is written
    return true;
}

bool CTesseraEncryptedLinkList::WriteAt(PhoneFile& file, Change& change, uint32_t offset,
                                        const uint8_t* bytes, uint32_t n, const uint8_t* before) {
    if (!file.Seek(offset) || !file.WriteExact(bytes, n)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    if (before) {
        change.checksum = FileCrcPatch(change.checksum, change.fileSize - kStoreHeaderSize,
                                       offset - kStoreHeaderSize, before, bytes, n);
    } else {
        change.checksum = FileCrcUpdate(change.checksum, bytes, n);
        change.fileSize += n;
    }
    return true;
}

bool CTesseraEncryptedLinkList::EncodeRecord(const item_entry_struct& entry, uint32_t offsetWord,
                                             Bytes& out) {
    if (!Allocate(out, kRecordHeadSize + entry.length())) {
        FILE_ACCESS_ERROR();
        return false;
    }
    EncodeRecordAt(entry, offsetWord, out.data());
    return true;
}

void CTesseraEncryptedLinkList::EncodeRecordAt(const item_entry_struct& entry, uint32_t offsetWord,
                                               uint8_t* out) {
    EncodeRecordHead({entry.deleted, entry.id, offsetWord, entry.length()}, out);
    if (entry.length()) std::memcpy(out + kRecordHeadSize, entry.data.data(), entry.length());
}

bool CTesseraEncryptedLinkList::RewriteRecord(PhoneFile& file, Change& change, const item_entry_struct& old,
                                              item_entry_struct& fresh) {
    Bytes before, after;
    fresh.storedOffset = fresh.offset;
    return EncodeRecord(old, old.storedOffset, before) && EncodeRecord(fresh, fresh.offset, after) &&
           WriteAt(file, change, fresh.offset, after.data(), static_cast<uint32_t>(after.size()),
                   before.data());
}

bool CTesseraEncryptedLinkList::AppendRecords(PhoneFile& file, Change& change,
                                              std::span<item_entry_struct> entries) {
    uint64_t end = change.fileSize;
    for (item_entry_struct& entry : entries) {
        entry.offset = entry.storedOffset = static_cast<uint32_t>(end);
        end += kRecordHeadSize + entry.length();
        if (end > UINT32_MAX) {
            FILE_ACCESS_ERROR();
            return false;
        }
    }
    Bytes bytes;
    if (!Allocate(bytes, static_cast<uint32_t>(end - change.fileSize))) {
        FILE_ACCESS_ERROR();
        return false;
    }
    uint8_t* at = bytes.data();
    for (const item_entry_struct& entry : entries) {
        EncodeRecordAt(entry, entry.offset, at);
        at += kRecordHeadSize + entry.length();
    }
    return WriteAt(file, change, change.fileSize, bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr);
}

bool CTesseraEncryptedLinkList::MarkDeleted(PhoneFile& file, Change& change, const item_entry_struct& entry) {
    uint8_t before[4], after[4];
    PutU32(before, entry.deleted);
    PutU32(after, kRecordDeleted);
    return WriteAt(file, change, entry.offset + kRecordDeletedOffset, after, sizeof after, before);
}

bool CTesseraEncryptedLinkList::FinishChange(PhoneFile& file, Change& change) {
    // Without a checksum this store can vouch for (an earlier change failed part way) the file is read again.
    if (!change.checksumKnown && (!file.Seek(kStoreHeaderSize) ||
                                  !ChecksumToEnd(file, kStoreHeaderSize, change.checksum, change.fileSize))) {
        FILE_ACCESS_ERROR();
        return false;
    }
    uint8_t fresh[kStoreHeaderSize];
    std::memcpy(fresh, header, kStoreHeaderSize);
    SetStoreHeaderTime(fresh, GetSystemTimeUtc());
    SetStoreHeaderChecksum(fresh, change.checksum);
    if (!file.Seek(0) || !file.WriteExact(fresh, kStoreHeaderSize)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    std::memcpy(header, fresh, kStoreHeaderSize);
    fileSize = change.fileSize;
    checksumKnown = true;
    lastChange = kChangeDone;
    return true;
}
