#pragma once
// A phone folder holding one fresh wallet file, reached through a fault-injecting folder transport.

#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "phone/NewStoreFile.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"
#include "store/FileCrc.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"
#include "store/TesseraEncryptedLinkList.h"

// A field holding text as NUL-ended UTF-16LE.
inline ItemField TextField(uint32_t type, std::u16string_view name, std::u16string_view text) {
    ItemField field;
    field.type = type;
    field.SetName(name);
    for (char16_t unit : text) field.value.insert(field.value.end(), {uint8_t(unit), uint8_t(unit >> 8)});
    field.value.insert(field.value.end(), {0, 0});
    return field;
}

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(CreateStoreFile(File(), StoreKind::Wallet, password.data(), password.size(), error))
            << error;
        faults = std::make_shared<FaultInjectingTransport>(FolderTransport::ForFsRoot(dir.Path()));
        RapiSetTransport(faults);
        connection = std::make_unique<RapiConnection>();
        ASSERT_TRUE(connection->Ok());
    }

    void TearDown() override {
        store.reset();
        connection.reset();
        RapiSetTransport(nullptr);
    }

    std::filesystem::path File() const { return dir / "Tessera.dat"; }
    std::vector<uint8_t> Bytes() const { return ReadBytes(File()); }

    // Opens the wallet and unlocks it with the right password.
    CTesseraEncryptedLinkList& OpenStore() {
        store = std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", kWalletFileType);
        EXPECT_EQ(store->Open(), 0);
        EXPECT_TRUE(store->CheckPassword(password.data(), password.size()));
        return *store;
    }

    int Reopen() {
        CTesseraEncryptedLinkList fresh(u"\\Tessera.dat", kWalletFileType);
        return fresh.Open();
    }

    // Rewrites the header's checksum over everything after the header.
    static void FixChecksum(std::vector<uint8_t>& bytes) { SealStoreFile(bytes.data(), bytes.size()); }

    static void AppendRecord(std::vector<uint8_t>& bytes, uint32_t deleted, uint32_t id,
                             const std::vector<uint8_t>& data, uint32_t offsetWord = UINT32_MAX) {
        uint8_t head[kRecordHeadSize];
        uint32_t offset = offsetWord == UINT32_MAX ? static_cast<uint32_t>(bytes.size()) : offsetWord;
        EncodeRecordHead({deleted, id, offset, static_cast<uint32_t>(data.size())}, head);
        bytes.insert(bytes.end(), head, head + kRecordHeadSize);
        bytes.insert(bytes.end(), data.begin(), data.end());
    }

    TempDir dir;
    SecureBytes password = PasswordBytes(u"correct horse");
    std::shared_ptr<FaultInjectingTransport> faults;
    std::unique_ptr<RapiConnection> connection;
    std::unique_ptr<CTesseraEncryptedLinkList> store;
};
