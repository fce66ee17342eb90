#pragma once
// One encrypted store file on the phone: a 72-byte header, the password section, then records
// back to back to the end of the file. The store verifies and lists the file at open, decrypts a
// record on demand and changes the file in place, one record at a time.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/SystemTime.h"
#include "platform/rapi/api/Rapi.h"
#include "store/BufferCipher.h"
#include "store/DynamicList.h"
#include "store/SecureBytes.h"
#include "store/StoreFormat.h"
#include "store/TesseraItem.h"

class PhoneFile;

// An item to add and the id it takes.
struct NewRecord {
    const CTesseraItem* item;
    uint32_t id;
};

// One record as listed: the ciphertext of a live record and where it stands in the file.
struct item_entry_struct {
    uint32_t deleted = 0;
    uint32_t id = 0;
    uint32_t offset = 0;        // the record's real position in the file
    uint32_t storedOffset = 0;  // the offset word as the file holds it
    Bytes data;                 // ciphertext

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

    // Change results (LastChange).
    enum ChangeCode {
        kChangeDone = 0,
        kChangeFailed = -1,
        kChangeInUse = -2,  // another program held the file longer than a turn's wait
        kChangeStale = -3,  // the file changed since this store read or wrote it: nothing was written
    };

    CTesseraEncryptedLinkList(std::u16string path, uint32_t fileType,
                              Version minimumVersion = kStoreMinimumVersion);
    virtual ~CTesseraEncryptedLinkList();
    CTesseraEncryptedLinkList(const CTesseraEncryptedLinkList&) = delete;
    CTesseraEncryptedLinkList& operator=(const CTesseraEncryptedLinkList&) = delete;

    // Verifies the file and lists its live records; 0 or a negative OpenCode.
    int Open();
    // Reads the file again after another program changed it, keeping the session key when the password
    // section is still the same. True when the file opened and the store is still unlocked.
    bool Reload();
    // True while the file's header is still the one this store last read or wrote: no other program has
    // changed the file since (its time and checksum are in the header). False also when it cannot be read.
    bool HeaderUnchanged() const;
    // Verifies the password (UTF-16LE bytes, no terminator) against the password section and, on
    // success, makes its key the session key.
    bool CheckPassword(const uint8_t* password, size_t length);

    // The first listed entry with that id, or null.
    item_entry_struct* FindRecord(uint32_t id);
    // The plaintext of a record in `out`; its length, or 0 on failure.
    uint32_t GetRecordData(const item_entry_struct* entry, SecureBytes* out);
    // Encrypts the item and appends it to the file and the list (the cursor stands on it).
    bool AddRecord(const CTesseraItem& item, uint32_t id);
    // Appends the items in one change: one write of all the records, then the header once. A cut before
    // the header leaves the old file followed by whole new records and perhaps a partial one, which a
    // repair mends (the header's checksum still covers the old end). The list grows only on success.
    bool AddRecords(std::span<const NewRecord> batch);
    // Rewrites the record, in place when the ciphertext keeps its length, else deleted and appended.
    bool UpdateRecord(const CTesseraItem& item, item_entry_struct* entry);
    // Marks the record deleted in the file and drops the entry from the list, whatever the file said.
    bool DeleteRecord(item_entry_struct* entry);
    // Why the last Add, Update or Delete failed: a ChangeCode. Each runs in one open without sharing
    // that first checks the header is the one this store last read or wrote.
    int LastChange() const { return lastChange; }
    // After Open gave kCannotOpen: the platform error (ERROR_SHARING_VIOLATION: in use elsewhere).
    DWORD OpenError() const { return openError; }

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
    // The checksum of everything after the header and the file's size, as a change's writes leave them.
    struct Change {
        uint32_t checksum = 0;
        uint32_t fileSize = 0;
        bool checksumKnown = false;  // else the file is read again before the header is written
    };
    bool BeginChange(PhoneFile& file, Change& change);
    // Writes n bytes at offset; `before` holds the bytes they replace, or is null for an append.
    bool WriteAt(PhoneFile& file, Change& change, uint32_t offset, const uint8_t* bytes, uint32_t n,
                 const uint8_t* before);
    static bool EncodeRecord(const item_entry_struct& entry, uint32_t offsetWord, Bytes& out);
    static void EncodeRecordAt(const item_entry_struct& entry, uint32_t offsetWord, uint8_t* out);
    bool RewriteRecord(PhoneFile& file, Change& change, const item_entry_struct& old,
                       item_entry_struct& fresh);
    bool AppendRecords(PhoneFile& file, Change& change, std::span<item_entry_struct> entries);
    void List(item_entry_struct&& entry);
    bool MarkDeleted(PhoneFile& file, Change& change, const item_entry_struct& entry);
    bool FinishChange(PhoneFile& file, Change& change);

    std::u16string path;
    uint32_t expectedType;
    Version minimumVersion;
    uint8_t header[kStoreHeaderSize] = {};
    Bytes passwordBlock;
    uint8_t passwordHash[kPasswordHashSize] = {};
    Key32 sessionKey{};
    uint32_t fileSize = 0;
    uint32_t highestListedId = 0;  // above it (the category record's id aside), no entry is listed
    bool checksumKnown = false;    // whether the header's checksum is the file's, with nothing written since
    int lastChange = kChangeDone;
    DWORD openError = ERROR_SUCCESS;
};
