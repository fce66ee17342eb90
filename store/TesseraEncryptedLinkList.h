#pragma once
// One encrypted store file on the phone: a 72-byte header, the password section, then records
// back to back to the end of the file. The store verifies and lists the file at open, decrypts a
// record on demand and changes the file in place, one record at a time.

#include <array>
#include <cstdint>
#include <string>

#include "platform/SystemTime.h"
#include "store/BufferCipher.h"
#include "store/DynamicList.h"
#include "store/SecureBytes.h"
#include "store/StoreFormat.h"
#include "store/TesseraItem.h"

class PhoneFile;

// One record as listed: the ciphertext of a live record and where it stands in the file.
struct item_entry_struct {
    uint32_t deleted = 0;
    uint32_t id = 0;
    uint32_t offset = 0;  // the record's real position in the file
    Bytes data;           // ciphertext

    uint32_t length() const { return static_cast<uint32_t>(data.size()); }
};

class CTesseraEncryptedLinkList {
public:
    using Version = StoreVersion;

    static constexpr uint32_t kPasswordHashSize = 32;
    static constexpr uint32_t kCategoryRecordId = ::kCategoryRecordId;

    // Open results.
    enum OpenCode {
        kOpened = 0,
        kCannotOpen = -1,
        kHeaderUnreadable = -2,
        kBadSignature = -3,
        kWrongType = -4,
        kVersionTooOld = -5,
        kChecksumMismatch = -6,
        kBadPasswordLength = -7,
        kPasswordBlockUnreadable = -8,
        kPasswordHashUnreadable = -9,
        kRecordUnreadable = -10,
        kOutOfMemory = -11,
    };

    CTesseraEncryptedLinkList(std::u16string path, uint32_t fileType,
                              Version minimumVersion = kStoreMinimumVersion);
    virtual ~CTesseraEncryptedLinkList();
    CTesseraEncryptedLinkList(const CTesseraEncryptedLinkList&) = delete;
    CTesseraEncryptedLinkList& operator=(const CTesseraEncryptedLinkList&) = delete;

    // Verifies the file and lists its live records; 0 or a negative OpenCode.
    int Open();
    // Verifies the password (UTF-16LE bytes, no terminator) against the password section and, on
    // success, makes its key the session key.
    bool CheckPassword(const uint8_t* password, size_t length);

    // The first listed entry with that id, or null.
    item_entry_struct* FindRecord(uint32_t id);
    // The plaintext of a record in `out`; its length, or 0 on failure.
    uint32_t GetRecordData(const item_entry_struct* entry, SecureBytes* out);
    // Encrypts the item and appends it to the file and the list (the cursor stands on it).
    bool AddRecord(const CTesseraItem& item, uint32_t id);
    // Rewrites the record, in place when the ciphertext keeps its length, else deleted and appended.
    bool UpdateRecord(const CTesseraItem& item, item_entry_struct* entry);
    // Marks the record deleted in the file and drops the entry from the list, whatever the file said.
    bool DeleteRecord(item_entry_struct* entry);

    // The header as last read or written.
    const uint8_t* Header() const { return header; }
    uint32_t FileType() const;
    Version FileVersion() const;
    SYSTEMTIME ModifiedTime() const;
    uint32_t Checksum() const;
    uint32_t PasswordBlockLength() const { return static_cast<uint32_t>(passwordBlock.size()); }
    const std::u16string& Path() const { return path; }

    DynamicList<item_entry_struct> records;
    uint32_t lastId = 0;

private:
    void Reset();
    int Load(PhoneFile& file);
    int LoadPasswordSection(PhoneFile& file, uint32_t fileSize);
    int LoadRecords(PhoneFile& file, uint32_t fileSize);
    bool Encrypt(const CTesseraItem& item, Bytes& ciphertext) const;
    bool OpenForChange(PhoneFile& file);
    bool WriteRecordAt(PhoneFile& file, const item_entry_struct& entry);
    bool AppendRecord(PhoneFile& file, item_entry_struct& entry);
    bool MarkDeleted(PhoneFile& file, uint32_t offset);
    bool RefreshHeader(PhoneFile& file);

    std::u16string path;
    uint32_t expectedType;
    Version minimumVersion;
    uint8_t header[kStoreHeaderSize] = {};
    Bytes passwordBlock;
    uint8_t passwordHash[kPasswordHashSize] = {};
    Key32 sessionKey{};
};
