#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "PhoneTestSupport.h"
#include "TestSupport.h"
#include "phone/CardGenerator.h"
#include "phone/PhoneSession.h"
#include "phone/PhoneSetup.h"
#include "phone/SampleCards.h"
#include "phone/StarterTemplates.h"
#include "store/PasswordBytes.h"

namespace fs = std::filesystem;

namespace {

class CardsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(InitPhone(phone, kDefaultInstallPath, &password, error), kDone) << error;
    }
    StoreContent Wallet() { return ReadStore(phone, kWalletPath, 0, u"s3cret"); }
    fs::path WalletFile() const { return phone / "fs" / "Program Files" / "Tessera" / "Tessera.dat"; }

    TempDir dir;
    fs::path phone = dir / "phone";
    SecureBytes password = PasswordBytes(u"s3cret");
    std::string error;
};

bool IsValidTime(const ItemField& field) {
    if (field.length() != 16) return false;
    SYSTEMTIME t = LoadTime(field.value.data());
    return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDayOfWeek == DayOfWeek(t.wYear, t.wMonth, t.wDay);
}

TEST(SampleCardsTest, CategoriesThePhoneLacksBecomeNoCategory) {
    for (const auto& card : SampleCards({{9, 57, u"Work"}})) {
        uint32_t id = card->Item().categoryId;
        EXPECT_TRUE(id == 0 || id == 9) << id;
    }
}

TEST_F(CardsTest, SampleCardsAreWrittenToTheWalletUnderNewIds) {
    ASSERT_EQ(AddSampleCards(phone, password, error), kDone) << error;
    ASSERT_EQ(AddSampleCards(phone, password, error), kDone) << error;
    StoreContent wallet = Wallet();
    size_t count = SampleCards(StarterCategories()).size();
    ASSERT_EQ(wallet.records.size(), 2 * count);
    EXPECT_EQ(wallet.lastId, 2 * count);
    for (size_t i = 0; i < wallet.records.size(); ++i) {
        EXPECT_EQ(wallet.records[i].id, i + 1);
        for (const ItemField* field : Fields(*wallet.records[i].item)) {
            if (field->type >= 6)
                EXPECT_TRUE(IsValidTime(*field)) << "card " << i;
            else if (field->length() > 0)
                TextValue(*field);
        }
    }
    EXPECT_EQ(TextValue(*Fields(*wallet.records[count].item)[0]),
              TextValue(*Fields(*wallet.records[0].item)[0]));
}

TEST_F(CardsTest, FillingRefusesAWrongPasswordAndAMissingWallet) {
    std::vector<uint8_t> before = ReadBytes(WalletFile());
    EXPECT_EQ(AddSampleCards(phone, PasswordBytes(u"guess"), error), kWrongPassword);
    EXPECT_EQ(GenerateCards(phone, PasswordBytes(u"guess"), 10, nullptr, error), kWrongPassword);
    EXPECT_EQ(ReadBytes(WalletFile()), before);

    fs::remove(WalletFile());
    EXPECT_EQ(AddSampleCards(phone, password, error), kFailed);
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

// The store takes over after the generator: it adds under the next id and deletes.
TEST_F(CardsTest, GeneratedCardsOpenThroughTheStoreAfterExistingOnes) {
    ASSERT_EQ(AddSampleCards(phone, password, error), kDone) << error;
    const uint32_t samples = static_cast<uint32_t>(SampleCards(StarterCategories()).size());
    const uint32_t count = 12000;  // more than one block of appended records
    std::ostringstream progress;
    ASSERT_EQ(GenerateCards(phone, password, count, &progress, error), kDone) << error;
    {
        PhoneSession session(phone);
        CTesseraEncryptedLinkList store(kWalletPath, kWalletFileType);
        ASSERT_EQ(store.Open(), 0);  // the checksum covers the appended records
        ASSERT_TRUE(store.CheckPassword(password.data(), password.size()));
        ASSERT_TRUE(AddNewRecord(store, CTesseraItem()));
        ASSERT_TRUE(store.DeleteRecord(store.FindRecord(1)));
    }

    StoreContent wallet = Wallet();
    ASSERT_EQ(wallet.records.size(), samples + count);
    EXPECT_EQ(wallet.records.back().id, samples + count + 1);
    std::set<uint32_t> categories;
    for (uint32_t i = samples; i < samples + count; ++i) {
        const StoredRecord& record = wallet.records[i - 1];
        ASSERT_EQ(record.id, i + 1);
        std::vector<const ItemField*> fields = Fields(*record.item);
        ASSERT_EQ(fields.size(), 4u);
        EXPECT_EQ(fields[0]->Name(), u"Name");
        EXPECT_EQ(fields[2]->type, 3u);
        categories.insert(record.item->categoryId);
    }
    EXPECT_EQ(categories, (std::set<uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(wallet.records[samples + count - 2].item->created.wYear, GetSystemTimeUtc().wYear);

    std::string lines = progress.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 20);
    EXPECT_NE(lines.find("tessera-phone: 12000 of 12000 cards\n"), std::string::npos) << lines;
}

}  // namespace
