// Opens arbitrary store files. With the first input byte odd, the input follows a valid header
// whose checksum matches, so the fuzzer reaches the password section and the record area.
#include <memory>

#include "TestSupport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

std::vector<uint8_t> StoreBytes(const uint8_t* data, size_t size) {
    if (size == 0 || !(data[0] & 1)) return std::vector<uint8_t>(data, data + size);
    std::vector<uint8_t> file(kStoreHeaderSize, 0);
    EncodeStoreHeader(file.data(), kWalletFileType, kStoreMinimumVersion, SYSTEMTIME{});
    file.insert(file.end(), data + 1, data + size);
    SealStoreFile(file.data(), file.size());
    return file;
}

struct Phone {
    TempDir dir;
    std::unique_ptr<RapiConnection> connection;
    Phone() {
        RapiSetTransport(FolderTransport::ForFsRoot(dir.Path()));
        connection = std::make_unique<RapiConnection>();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Phone phone;
    WriteBytes(phone.dir / "Tessera.dat", StoreBytes(data, size));
    CTesseraEncryptedLinkList store(u"\\Tessera.dat", kWalletFileType);
    if (store.Open() != 0) return 0;
    SecureBytes password = PasswordBytes(u"fuzz");
    store.CheckPassword(password.data(), password.size());
    for (auto* node = store.records.head; node; node = node->next) {
        SecureBytes plain;
        CTesseraItem item;
        if (store.GetRecordData(&node->element, &plain)) item.Deserialize(plain.data(), plain.size());
    }
    return 0;
}
