#pragma once
// A phone folder holding one fresh wallet file, reached through a fault-injecting folder transport.

#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "phone/NewStoreFile.h"
#include "platform/rapi/FaultInjectingTransport.h"
#include "platform/rapi/FolderTransport.h"
#include "platform/rapi/RapiTransport.h"
#include "platform/ByteOrder.h"
#include "store/FileCrc.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(CreateStoreFile(File(), StoreKind::Wallet, password.data(), password.size(), error)) << error;
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
        store = std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", 0);
        EXPECT_EQ(store->Open(), 0);
        EXPECT_TRUE(store->CheckPassword(password.data(), password.size()));
        return *store;
    }

    int Reopen() {
        CTesseraEncryptedLinkList fresh(u"\\Tessera.dat", 0);
        return fresh.Open();
    }

    // Rewrites the header's checksum over everything after the header.
    static void FixChecksum(std::vector<uint8_t>& bytes) {
        PutU32(bytes.data() + 68, FileCrc(bytes.data() + 72, bytes.size() - 72));
    }

    static void AppendRecord(std::vector<uint8_t>& bytes, uint32_t deleted, uint32_t id,
                             const std::vector<uint8_t>& data, uint32_t offsetWord = UINT32_MAX) {
        uint8_t head[16];
        PutU32(head, deleted);
        PutU32(head + 4, id);
        PutU32(head + 8, offsetWord == UINT32_MAX ? static_cast<uint32_t>(bytes.size()) : offsetWord);
        PutU32(head + 12, static_cast<uint32_t>(data.size()));
        bytes.insert(bytes.end(), head, head + 16);
        bytes.insert(bytes.end(), data.begin(), data.end());
    }

    TempDir dir;
    SecureBytes password = PasswordBytes(u"correct horse");
    std::shared_ptr<FaultInjectingTransport> faults;
    std::unique_ptr<RapiConnection> connection;
    std::unique_ptr<CTesseraEncryptedLinkList> store;
};
