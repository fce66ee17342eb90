#include "store/TesseraEncryptedLinkList.h"

#include <cstring>
#include <new>

#include "diag/STLogFile.h"
#include "store/ByteOrder.h"
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
    SecureZero(sessionKey.bytes, sizeof sessionKey.bytes);
    lastId = 0;
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
    if (!file.Open(path, GENERIC_READ)) return kCannotOpen;
    return Load(file);
}

int CTesseraEncryptedLinkList::Load(PhoneFile& file) {
    if (!file.ReadExact(header, kStoreHeaderSize)) return kHeaderUnreadable;
    if (std::memcmp(header, kStoreSignature, sizeof kStoreSignature) != 0) return kBadSignature;
    if (FileType() != expectedType) return kWrongType;
    Version version = FileVersion();
    for (size_t i = 0; i < version.size(); ++i) {
        if (version[i] < minimumVersion[i]) return kVersionTooOld;
    }
    uint32_t crc = 0, fileSize = 0;
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
        // The file may end inside the first word of a record.
        if (got < 4) return kOpened;
        if (got != kRecordHeadSize) return kRecordUnreadable;
        item_entry_struct entry;
        RecordHead stored = DecodeRecordHead(head);
        entry.deleted = stored.deleted;
        entry.id = stored.id;
        entry.offset = position;  // the stored offset word is not trusted
        uint32_t length = stored.length;
        uint32_t dataStart = position + kRecordHeadSize;
        if (length > fileSize - dataStart) return kRecordUnreadable;
        if (!Allocate(entry.data, length)) return kOutOfMemory;
        if (length > 0 && !file.ReadExact(entry.data.data(), length)) return kRecordUnreadable;
        position = dataStart + length;
        if (entry.deleted != 0) continue;
        if (entry.id != kCategoryRecordId && entry.id > lastId) lastId = entry.id;
        records.AddTail(std::move(entry));
    }
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

item_entry_struct* CTesseraEncryptedLinkList::FindRecord(uint32_t id) {
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
    item_entry_struct entry;
    entry.id = id;
    if (!Encrypt(item, entry.data)) return false;
    PhoneFile file;
    if (!OpenForChange(file) || !AppendRecord(file, entry) || !RefreshHeader(file)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    records.AddTail(std::move(entry));
    return true;
}

bool CTesseraEncryptedLinkList::UpdateRecord(const CTesseraItem& item, item_entry_struct* entry) {
    if (!entry) return false;
    item_entry_struct copy;
    copy.id = entry->id;
    copy.offset = entry->offset;
    if (!Encrypt(item, copy.data)) return false;
    PhoneFile file;
    bool written = OpenForChange(file);
    if (written && copy.length() == entry->length()) {
        written = WriteRecordAt(file, copy);
    } else if (written) {
        written = MarkDeleted(file, entry->offset) && AppendRecord(file, copy);
    }
    if (!written || !RefreshHeader(file)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    *entry = std::move(copy);
    return true;
}

bool CTesseraEncryptedLinkList::DeleteRecord(item_entry_struct* entry) {
    for (records.MoveFirst(); records.cursor; records.MoveNext()) {
        if (&records.GetCurrent() != entry) continue;
        PhoneFile file;
        bool marked = OpenForChange(file) && MarkDeleted(file, entry->offset) && RefreshHeader(file);
        if (!marked) FILE_ACCESS_ERROR();
        records.RemoveCurrent();
        return marked;
    }
    return false;
}

bool CTesseraEncryptedLinkList::OpenForChange(PhoneFile& file) {
    if (file.Open(path, GENERIC_READ | GENERIC_WRITE)) return true;
    FILE_ACCESS_ERROR();
    return false;
}

bool CTesseraEncryptedLinkList::WriteRecordAt(PhoneFile& file, const item_entry_struct& entry) {
    Bytes record;
    if (!Allocate(record, kRecordHeadSize + entry.length())) {
        FILE_ACCESS_ERROR();
        return false;
    }
    EncodeRecordHead({entry.deleted, entry.id, entry.offset, entry.length()}, record.data());
    if (entry.length()) std::memcpy(record.data() + kRecordHeadSize, entry.data.data(), entry.length());
    if (!file.Seek(entry.offset) || !file.WriteExact(record.data(), static_cast<uint32_t>(record.size()))) {
        FILE_ACCESS_ERROR();
        return false;
    }
    return true;
}

bool CTesseraEncryptedLinkList::AppendRecord(PhoneFile& file, item_entry_struct& entry) {
    uint32_t size = 0;
    if (!file.Size(size) || uint64_t(size) + kRecordHeadSize + entry.length() > UINT32_MAX) {
        FILE_ACCESS_ERROR();
        return false;
    }
    entry.offset = size;
    return WriteRecordAt(file, entry);
}

bool CTesseraEncryptedLinkList::MarkDeleted(PhoneFile& file, uint32_t offset) {
    uint8_t flag[4];
    PutU32(flag, kRecordDeleted);
    if (!file.Seek(offset + kRecordDeletedOffset) || !file.WriteExact(flag, sizeof flag)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    return true;
}

bool CTesseraEncryptedLinkList::RefreshHeader(PhoneFile& file) {
    uint8_t fresh[kStoreHeaderSize];
    uint32_t crc = 0, fileSize = 0;
    if (!file.Seek(0) || !file.ReadExact(fresh, kStoreHeaderSize) ||
        !ChecksumToEnd(file, kStoreHeaderSize, crc, fileSize)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    SetStoreHeaderTime(fresh, GetSystemTimeUtc());
    SetStoreHeaderChecksum(fresh, crc);
    if (!file.Seek(0) || !file.WriteExact(fresh, kStoreHeaderSize)) {
        FILE_ACCESS_ERROR();
        return false;
    }
    std::memcpy(header, fresh, kStoreHeaderSize);
    return true;
}
