// Repairing what a cut save leaves, and leaving everything else alone.
#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "store/StoreRepair.h"

namespace {

class StoreRepairTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        OpenStore();
        grown.fields.AddTail(TextField(0, u"Notes", std::u16string(60, u'n')));
        ASSERT_TRUE(store->AddRecord(plain, 1));
        ASSERT_TRUE(store->AddRecord(plain, 2));
    }

    RepairResult Repair(std::string& report, const SecureBytes& with) {
        return RepairStoreFile(u"\\Tessera.dat", kWalletFileType, with, now, report);
    }

    std::filesystem::path Copy() const { return dir / "Tessera.dat.repair-20261207031502"; }

    CTesseraItem plain, grown;
    SYSTEMTIME now{2026, 12, 1, 7, 3, 15, 2, 0};
};

TEST_F(StoreRepairTest, ACutGrowKeepsTheLaterCopyAfterACopyOfTheFile) {
    faults->FailCall(RapiOp::WriteFile, 2, ERROR_NOT_CONNECTED);  // the old copy's mark
    EXPECT_FALSE(store->UpdateRecord(grown, store->FindRecord(1)));
    faults->Disarm();
    std::vector<uint8_t> cut = Bytes();
    ASSERT_EQ(Reopen(), CTesseraEncryptedLinkList::kChecksumMismatch);

    std::string report;
    ASSERT_EQ(Repair(report, password), RepairResult::kRepaired) << report;
    EXPECT_EQ(ReadBytes(Copy()), cut);
    OpenStore();
    EXPECT_EQ(store->records.count, 2);
    SecureBytes bytes, expected;
    ASSERT_GT(store->GetRecordData(store->FindRecord(1), &bytes), 0u);
    ASSERT_TRUE(grown.Serialize(expected));
    EXPECT_EQ(bytes, expected);
    std::filesystem::remove(Copy());
    EXPECT_EQ(Repair(report, password), RepairResult::kSound) << report;
    EXPECT_FALSE(std::filesystem::exists(Copy()));
}

TEST_F(StoreRepairTest, APartialRecordAtTheEndIsClosed) {
    for (DWORD written : {3u, 10u, 40u}) {
        OpenStore();
        faults->ShortWrite(1, written);
        EXPECT_FALSE(store->AddRecord(grown, 3));
        faults->Disarm();
        std::string report;
        ASSERT_EQ(Repair(report, password), RepairResult::kRepaired) << written << ": " << report;
        EXPECT_EQ(Reopen(), 0);
        OpenStore();
        EXPECT_EQ(store->records.count, 2) << written;
        std::filesystem::remove(Copy());
    }
}

TEST_F(StoreRepairTest, AnyOtherStateIsLeftAlone) {
    std::vector<uint8_t> damaged = Bytes();
    damaged[store->FindRecord(2)->offset + kRecordHeadSize] ^= 1;  // record 2's first block
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        SecureBytes password;
        RepairResult result = RepairResult::kRefused;
    };
    CTesseraItem categories;  // category 5 twice
    for (int i = 0; i < 2; ++i) categories.fields.AddTail(TextField(5 << 16 | 3, u"Work", u""));
    ASSERT_TRUE(store->AddRecord(categories, kCategoryRecordId));
    std::vector<uint8_t> twice = Bytes();
    for (const Case& c :
         {Case{"wrong password", Bytes(), PasswordBytes(u"wrong"), RepairResult::kWrongPassword},
          Case{"a record that does not decrypt", damaged, password},
          Case{"a category record with one id twice", twice, password}}) {
        WriteBytes(File(), c.file);
        std::string report;
        EXPECT_EQ(Repair(report, c.password), c.result) << c.what;
        EXPECT_FALSE(report.empty());
        EXPECT_EQ(Bytes(), c.file) << c.what;
        EXPECT_FALSE(std::filesystem::exists(Copy())) << c.what;
    }
}

}  // namespace
