#pragma once
// Adds many records to the end of an unlocked store in large writes. The store's own AddRecord
// checksums the whole file after every record, which a wallet of a million cards cannot afford; here
// the checksum is carried on from the one the store verified when it opened the file, and the header
// is refreshed after each block, so the file is whole whenever a block has been written.

#include <cstdint>
#include <string>

#include "store/BufferCipher.h"
#include "store/PhoneFile.h"
#include "store/TesseraEncryptedLinkList.h"

class RecordAppender {
public:
    // The store must have been opened and unlocked with this password just before, and not changed
    // since. Its record list is left as it is; its lastId follows the records added.
    RecordAppender(CTesseraEncryptedLinkList& store, const SecureBytes& password);

    // Opens the file for the whole run.
    bool Begin(std::string& error);
    // Adds the item under lastId + 1 and raises lastId.
    bool Add(const CTesseraItem& item, std::string& error);
    // Writes the pending records and refreshes the header.
    bool Flush(std::string& error);

private:
    static constexpr size_t kBlockSize = 4 << 20;

    CTesseraEncryptedLinkList& store;
    Key32 key;
    PhoneFile file;
    uint32_t end = 0;  // the file's size before the pending records
    uint32_t checksum = 0;
    uint8_t header[kStoreHeaderSize] = {};
    Bytes pending;
    SecureBytes plain;
    Bytes ciphertext;
};
