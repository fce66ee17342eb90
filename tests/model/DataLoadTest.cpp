#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

using DataLoadTest = ModelFixture;

std::vector<std::u16string> Names(const std::vector<card_info_struct>& rows) {
    std::vector<std::u16string> names;
    for (const auto& row : rows) names.push_back(row.name);
    return names;
}

TEST(DataWithoutStoresTest, LoadsNothingAndRefusesChanges) {
    CData model;
    model.cards.push_back({});
    EXPECT_TRUE(model.LoadCards());
    EXPECT_TRUE(model.LoadTemplatesAndCategories());
    EXPECT_EQ(model.cardCount(), 0);
    EXPECT_EQ(model.templateCount(), 0);
    EXPECT_EQ(model.categoryCount(), 0);
    EXPECT_EQ(model.TakeCardId(), 0u);
    EXPECT_FALSE(model.AddCard(*NewBlankCard(), 1));
    EXPECT_FALSE(model.AddCategory(u"Work", PackCategory(1, 0)));
    EXPECT_EQ(model.ReadCardRecord(1), nullptr);
    EXPECT_EQ(model.FindRecordEntry(0, 1), nullptr);
    EXPECT_EQ(model.NewCardFromTemplate(1)->fields.count, 1);
}

TEST_F(DataLoadTest, ListsTheLiveRecordsInRecordOrder) {
    SYSTEMTIME created = Time(2008, 5, 6, 7, 8, 9), modified = Time(2010, 11, 12, 13, 14, 15);
    auto bravo = Card(u"Bravo", 4, 21);
    bravo->created = created;
    bravo->modified = modified;
    uint32_t bravoId = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*bravo, bravoId));
    uint32_t alpha = AddCard(u"Alpha");
    uint32_t charlie = AddCard(u"Charlie", 2, 3);
    ASSERT_TRUE(data.WalletStore()->DeleteRecord(data.FindRecordEntry(CData::kWalletStore, alpha)));

    auto model = Reloaded();
    ASSERT_EQ(Names(model->cards), (std::vector<std::u16string>{u"Bravo", u"Charlie"}));
    const card_info_struct& row = model->cards[0];
    EXPECT_EQ(row.id, int32_t(bravoId));
    EXPECT_EQ(row.category, 4);
    EXPECT_EQ(row.icon, 21);
    EXPECT_EQ(Millis(row.created), Millis(created));
    EXPECT_EQ(Millis(row.modified), Millis(modified));
    EXPECT_EQ(model->cards[1].id, int32_t(charlie));
    EXPECT_EQ(model->cards[1].category, 2);
}

TEST_F(DataLoadTest, TakesTheNameFromFieldZeroUpToItsNul) {
    CTesseraItem noFields, cutName;
    AddField(cutName, u"Name", std::u16string(u"Mail\0junk", 9));
    AddField(cutName, u"User", u"not the name");
    ASSERT_TRUE(data.AddCard(noFields, 1));
    ASSERT_TRUE(data.AddCard(cutName, 2));

    auto model = Reloaded();
    EXPECT_EQ(Names(model->cards), (std::vector<std::u16string>{u"", u"Mail"}));
}

TEST_F(DataLoadTest, TemplatesFileHoldingOnlyTheCategoryRecord) {
    ASSERT_TRUE(data.AddCategory(u"Home", PackCategory(2, 5)));
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(7, 1)));
    CData model;
    RecordingListener screens;
    model.AddListener(&screens);
    Open(model);
    EXPECT_EQ(model.templateCount(), 0);
    ASSERT_EQ(model.categoryCount(), 2);
    EXPECT_EQ(model.categories[1].id, 7);
    EXPECT_EQ(model.categories[1].icon, 1);
    EXPECT_EQ(model.categories[1].name, u"Work");
    EXPECT_EQ(screens.events, std::vector<std::string>{"reloaded"});

    // Ids go on above the highest one loaded, whether or not the one taken is used.
    EXPECT_EQ(model.TakeCategoryId(), 8);
    EXPECT_EQ(model.TakeCategoryId(), 9);
}

TEST_F(DataLoadTest, SkipsUnreadableRecordsAndListsUnparsableOnesByTheirHead) {
    AddCard(u"Before");
    AppendWalletRecord(50, ::Bytes(15, 0xAB));  // not whole cipher blocks: cannot be read
    auto broken = Card(u"Broken", 4, 9);
    SecureBytes plain;
    ASSERT_TRUE(broken->Serialize(plain));
    plain.resize(plain.size() - 3);  // the name's value runs past the end
    AppendWalletRecord(51, WalletCipher(plain));

    auto model = Reloaded();
    ASSERT_EQ(model->cardCount(), 2);
    EXPECT_EQ(model->cards[0].name, u"Before");
    const card_info_struct& row = model->cards[1];
    EXPECT_EQ(row.id, 51);
    EXPECT_EQ(row.category, 4);
    EXPECT_EQ(row.icon, 9);
    EXPECT_EQ(row.name, u"");
    // Reading it for an edit gives nothing, so that a save cannot overwrite what it still holds.
    EXPECT_EQ(model->ReadCardRecord(51), nullptr);
    EXPECT_EQ(model->ReadCardRecord(50), nullptr);
}

}  // namespace
