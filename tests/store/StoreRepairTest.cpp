// Repairing what a cut save leaves, only when the header's checksum proves it was one; salvaging the rest
// on request.
#include <gtest/gtest.h>

#include <functional>

#include "StoreFixture.h"
#include "store/StoreRepair.h"

namespace {

class StoreRepairTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        OpenStore();
        grown.fields.AddTail(TextField(0, u"Notes", std::u16string(60, u'n')));
        for (uint32_t id = 1; id <= 4; ++id) ASSERT_TRUE(store->AddRecord(plain, id));
    }

    RepairResult Repair(std::string& report, const SecureBytes& with, RepairMode mode = RepairMode::kRepair) {
        return RepairStoreFile(u"\\Tessera.dat", kWalletFileType, with, now, report, mode);
    }

    std::filesystem::path Copy() const { return dir / "Tessera.dat.repair-20261207031502"; }

    // The plaintext of each live record after the file opens again.
    std::vector<SecureBytes> Records() {
        OpenStore();
        std::vector<SecureBytes> records;
        for (auto* node = store->records.head; node; node = node->next) {
            records.emplace_back();
            EXPECT_GT(store->GetRecordData(&node->element, &records.back()), 0u);
        }
        return records;
    }

    CTesseraItem plain, grown;
    SYSTEMTIME now{2026, 12, 1, 7, 3, 15, 2, 0};
};

// Each way a save can be cut on its way to the phone is mended, after a copy of the file beside it.
TEST_F(StoreRepairTest, EveryCutSaveIsMended) {
    using Change = std::function<bool(CTesseraEncryptedLinkList&)>;
    const Change add = [this](auto& s) { return s.AddRecord(grown, 5); };
    const Change grow = [this](auto& s) { return s.UpdateRecord(grown, s.FindRecord(1)); };
    const Change remove = [](auto& s) { return s.DeleteRecord(s.FindRecord(2)); };
    const NewRecord three[] = {{&plain, 5}, {&plain, 6}, {&plain, 7}};
    const Change batch = [&](auto& s) { return s.AddRecords(three); };
    const DWORD record = kRecordHeadSize + store->FindRecord(1)->length();
    struct Case {
        const char* what;
        Change change;
        uint64_t failedWrite;
        DWORD shortBy;  // 0: the write fails outright
        size_t records;
    };
    for (const Case& c :
         {Case{"add, 3 bytes of the record", add, 1, 3, 4}, Case{"add, 10 bytes", add, 1, 10, 4},
          Case{"add, 40 bytes", add, 1, 40, 4}, Case{"add, before the header", add, 2, 0, 5},
          Case{"grow, before the old copy's mark", grow, 2, 0, 4},
          Case{"grow, before the header", grow, 3, 0, 4}, Case{"delete, before the header", remove, 2, 0, 3},
          Case{"batch, inside its second record", batch, 1, record + 20, 5},
          Case{"batch, after two records", batch, 1, 2 * record, 6},
          Case{"batch, before the header", batch, 2, 0, 7}}) {
        std::vector<uint8_t> before = Bytes();
        OpenStore();
        if (c.shortBy)
            faults->ShortWrite(c.failedWrite, c.shortBy);
        else
            faults->FailCall(RapiOp::WriteFile, c.failedWrite, ERROR_NOT_CONNECTED);
        EXPECT_FALSE(c.change(*store)) << c.what;
        faults->Disarm();
        std::vector<uint8_t> cut = Bytes();
        ASSERT_EQ(Reopen(), CTesseraEncryptedLinkList::kChecksumMismatch) << c.what;
        std::string report;
        ASSERT_EQ(Repair(report, password), RepairResult::kRepaired) << c.what << ": " << report;
        EXPECT_EQ(ReadBytes(Copy()), cut) << c.what;
        EXPECT_EQ(Records().size(), c.records) << c.what;
        std::filesystem::remove(Copy());
        WriteBytes(File(), before);
    }
    ASSERT_TRUE(OpenStore().UpdateRecord(grown, store->FindRecord(1)));
    std::string report;
    EXPECT_EQ(Repair(report, password), RepairResult::kSound) << report;
    EXPECT_FALSE(std::filesystem::exists(Copy()));
}

// A file that no cut save explains is left as it is, even where a repair could make it open.
TEST_F(StoreRepairTest, DamageIsLeftAlone) {
    std::vector<uint8_t> file = Bytes();
    const uint32_t first = store->FindRecord(1)->offset, last = store->FindRecord(4)->offset;
    std::vector<uint8_t> flippedLength = file, flippedChecksum = file,
                         cutShort(file.begin(), file.end() - 20),
                         cutAtRecord(file.begin(), file.begin() + last), undecryptable = file;
    flippedLength[first + 12 + 3] ^= 0x40;  // record 1's length word, top byte
    flippedChecksum[kStoreChecksumOffset] ^= 1;
    undecryptable[store->FindRecord(2)->offset + kRecordHeadSize] ^= 1;  // record 2's first block
    FixChecksum(undecryptable);
    CTesseraItem categories;  // category 5 twice
    for (int i = 0; i < 2; ++i) categories.fields.AddTail(TextField(5 << 16 | 3, u"Work", u""));
    ASSERT_TRUE(store->AddRecord(categories, kCategoryRecordId));
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        SecureBytes password;
        RepairResult result = RepairResult::kRefused;
    };
    for (const Case& c : {Case{"wrong password", file, PasswordBytes(u"wrong"), RepairResult::kWrongPassword},
                          Case{"a flipped length bit", flippedLength, password},
                          Case{"a flipped checksum bit", flippedChecksum, password},
                          Case{"cut inside the last record", cutShort, password},
                          Case{"cut at a record's start", cutAtRecord, password},
                          Case{"a record that does not decrypt", undecryptable, password},
                          Case{"a category record with one id twice", Bytes(), password}}) {
        WriteBytes(File(), c.file);
        std::string report;
        EXPECT_EQ(Repair(report, c.password), c.result) << c.what;
        EXPECT_FALSE(report.empty());
        EXPECT_EQ(Bytes(), c.file) << c.what;
        EXPECT_FALSE(std::filesystem::exists(Copy())) << c.what;
    }
}

// --salvage writes the file again with every live record that still decrypts, whatever the heads say.
TEST_F(StoreRepairTest, SalvageKeepsEveryRecordThatDecrypts) {
    std::vector<SecureBytes> records = Records();
    std::vector<uint8_t> file = Bytes();
    file[store->FindRecord(1)->offset + 12 + 3] ^= 0x40;        // record 1's length word
    file[store->FindRecord(3)->offset + kRecordHeadSize] ^= 1;  // record 3's first block
    WriteBytes(File(), file);
    std::string report;
    ASSERT_EQ(Repair(report, PasswordBytes(u"wrong"), RepairMode::kSalvage), RepairResult::kWrongPassword);
    ASSERT_EQ(Repair(report, password, RepairMode::kSalvage), RepairResult::kRepaired) << report;
    EXPECT_EQ(report, "salvaged 3 records");
    EXPECT_EQ(ReadBytes(Copy()), file);
    EXPECT_GE(Bytes().size(), file.size());  // the file does not shrink
    records.erase(records.begin() + 2);
    EXPECT_EQ(Records(), records);

    // A rewrite in place cut before its header: no checksum proves it, a salvage keeps the new version.
    faults->FailCall(RapiOp::WriteFile, 2, ERROR_NOT_CONNECTED);
    CTesseraItem renamed;
    renamed.icon = 7;
    EXPECT_FALSE(store->UpdateRecord(renamed, store->FindRecord(2)));
    faults->Disarm();
    std::filesystem::remove(Copy());
    EXPECT_EQ(Repair(report, password), RepairResult::kRefused);
    ASSERT_EQ(Repair(report, password, RepairMode::kSalvage), RepairResult::kRepaired) << report;
    std::vector<SecureBytes> after = Records();
    CTesseraItem second;
    ASSERT_EQ(after.size(), 3u);
    ASSERT_TRUE(second.Deserialize(after[1].data(), after[1].size()));
    EXPECT_EQ(second.icon, 7u);
}

}  // namespace
