#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

class CategoryTest : public ModelFixture {
protected:
    // The category record as it now is on the phone.
    std::unique_ptr<CTesseraItem> StoredRecord() { return Reloaded()->ReadCategoryRecord(); }

    int CategoryRecordCount() {
        int count = 0;
        for (auto* node = data.TemplateStore()->records.head; node; node = node->next)
            count += node->element.id == 0xFFFFFFFF;
        return count;
    }

    // Cards in categories 3, 5 and 3, last changed long ago.
    void AddCardsInCategories() {
        const std::pair<const char16_t*, uint32_t> cards[] = {{u"A", 3}, {u"B", 5}, {u"C", 3}};
        for (const auto& [name, category] : cards) {
            auto card = Card(name, category);
            card->modified = old;
            ASSERT_TRUE(data.AddCard(*card, data.TakeCardId()));
        }
        ASSERT_TRUE(data.AddCategory(u"Three", PackCategory(3, 0)));
        ASSERT_TRUE(data.DeleteCategory(3));
    }

    SYSTEMTIME old = Time(2001, 1, 1);
};

TEST_F(CategoryTest, AddMakesOneRecordAndStoresIdAndIconPacked) {
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(3, 17)));
    ASSERT_EQ(data.categoryCount(), 1);
    EXPECT_EQ(data.categories[0].id, 3);
    EXPECT_EQ(data.categories[0].icon, 17);
    EXPECT_EQ(data.categories[0].name, u"Work");
    EXPECT_GE(data.maxCategoryId, 3);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"row 2 3", "added 3 Work"}));

    auto record = StoredRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->icon, 0u);
    EXPECT_EQ(record->categoryId, 0u);
    ASSERT_EQ(record->fields.count, 1);
    const ItemField& field = record->fields.head->element;
    EXPECT_EQ(field.type, 3u * 65536 + 17);
    EXPECT_EQ(field.Name(), u"Work");
    EXPECT_EQ(field.length(), 0u);

    // Further categories join the one record in order.
    ASSERT_TRUE(data.AddCategory(u"Home", PackCategory(1, 2)));
    EXPECT_EQ(CategoryRecordCount(), 1);
    auto model = Reloaded();
    ASSERT_EQ(model->categoryCount(), 2);
    EXPECT_EQ(model->categories[0].name, u"Work");
    EXPECT_EQ(model->categories[1].name, u"Home");
}

TEST_F(CategoryTest, AddRefusesNoCategoryIdsInUseAndAnUnreadableRecord) {
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(3, 17)));
    EXPECT_FALSE(data.AddCategory(u"Twin", PackCategory(3, 1)));
    EXPECT_FALSE(data.AddCategory(u"None", PackCategory(0, 1)));
    EXPECT_EQ(data.categoryCount(), 1);
    // Nor does it replace a record it cannot read.
    data.FindRecordEntry(CData::kTemplateStore, 0xFFFFFFFF)->data.resize(15);  // no longer decrypts
    EXPECT_FALSE(data.AddCategory(u"Home", PackCategory(4, 0)));
    EXPECT_EQ(CategoryRecordCount(), 1);
    EXPECT_EQ(StoredRecord()->fields.count, 1);
}

TEST_F(CategoryTest, LongNamesAreCutToTheNameSlot) {
    ASSERT_TRUE(data.AddCategory(std::u16string(70, u'x'), PackCategory(1, 0)));
    // A pair that would straddle the cut is left out whole.
    std::u16string pairAtTheEnd = std::u16string(62, u'y') + u"\U0001F600" + u"zz";
    ASSERT_TRUE(data.AddCategory(pairAtTheEnd, PackCategory(2, 0)));

    EXPECT_EQ(data.categories[0].name, std::u16string(63, u'x'));
    EXPECT_EQ(data.categories[1].name, std::u16string(62, u'y'));
    auto model = Reloaded();
    EXPECT_EQ(model->categories[0].name, std::u16string(63, u'x'));
    EXPECT_EQ(model->categories[1].name, std::u16string(62, u'y'));
}

TEST_F(CategoryTest, RenamingToTheSameTextChangesOnlyTheIconAndAnUnknownIdNothing) {
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(3, 17)));
    ASSERT_TRUE(data.AddCategory(u"Home", PackCategory(4, 1)));
    listener.events.clear();

    ASSERT_TRUE(data.UpdateCategory(u"Work", PackCategory(3, 4)));
    EXPECT_EQ(data.categories[0].icon, 4);
    EXPECT_EQ(data.categories[0].name, u"Work");
    EXPECT_EQ(listener.events, (std::vector<std::string>{"row 2 3", "renamed 3 Work"}));
    auto record = StoredRecord();
    EXPECT_EQ(record->fields.head->element.type, PackCategory(3, 4));
    EXPECT_EQ(record->fields.head->element.Name(), u"Work");
    EXPECT_EQ(record->fields.tail->element.type, PackCategory(4, 1));

    ASSERT_TRUE(data.UpdateCategory(u"Office", PackCategory(3, 4)));
    EXPECT_EQ(data.categories[0].name, u"Office");
    EXPECT_EQ(StoredRecord()->fields.head->element.Name(), u"Office");

    // An unknown id fails without writing.
    std::vector<uint8_t> before = ReadBytes(TemplatesFile());
    listener.events.clear();
    faults->ResetCounters();
    EXPECT_FALSE(data.UpdateCategory(u"Other", PackCategory(9, 1)));
    EXPECT_EQ(faults->Calls(RapiOp::WriteFile), 0u);
    EXPECT_EQ(ReadBytes(TemplatesFile()), before);
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(CategoryTest, DeleteRemovesTheFieldAndTheRow) {
    EXPECT_FALSE(data.DeleteCategory(3));  // no record yet
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(3, 17)));
    ASSERT_TRUE(data.AddCategory(u"Home", PackCategory(4, 1)));
    listener.events.clear();

    ASSERT_TRUE(data.DeleteCategory(3));
    EXPECT_EQ(listener.events, std::vector<std::string>{"removed 3"});
    ASSERT_TRUE(data.DeleteCategory(8));  // not in the record: succeeds, removing no row
    ASSERT_EQ(data.categoryCount(), 1);
    EXPECT_EQ(data.categories[0].id, 4);
    auto record = StoredRecord();
    ASSERT_EQ(record->fields.count, 1);
    EXPECT_EQ(record->fields.head->element.Name(), u"Home");

    ASSERT_TRUE(data.DeleteCategory(4));
    EXPECT_EQ(StoredRecord()->fields.count, 0);
    EXPECT_FALSE(data.DeleteCategory(4));  // the record has no field left
}

TEST_F(CategoryTest, ReleasedCardsLoseTheirCategoryWithANewTime) {
    AddCardsInCategories();
    int dispatched = 0;
    data.SetDispatchHook([&] { ++dispatched; });
    SYSTEMTIME before = GetSystemTimeUtc();

    ASSERT_TRUE(data.ReleaseCategoryCards(3, false));
    EXPECT_EQ(dispatched, 3);
    auto model = Reloaded();
    for (CData* rows : {&data, model.get()}) {
        ASSERT_EQ(rows->cardCount(), 3);
        EXPECT_EQ(rows->cards[0].category, 0);
        EXPECT_EQ(rows->cards[1].category, 5);
        EXPECT_EQ(rows->cards[2].category, 0);
        EXPECT_GE(Millis(rows->cards[0].modified), Millis(before));
        EXPECT_EQ(Millis(rows->cards[1].modified), Millis(old));
        EXPECT_GE(Millis(rows->cards[2].modified), Millis(before));
    }
}

TEST_F(CategoryTest, ReleasedCardsAreDeletedWhenAsked) {
    AddCardsInCategories();
    int dispatched = 0;
    data.SetDispatchHook([&] { ++dispatched; });

    EXPECT_FALSE(data.ReleaseCategoryCards(0, true));  // no category is refused
    EXPECT_EQ(dispatched, 0);
    ASSERT_TRUE(data.ReleaseCategoryCards(3, true));
    EXPECT_EQ(dispatched, 1);  // only after the card that stays
    auto model = Reloaded();
    for (CData* rows : {&data, model.get()}) {
        ASSERT_EQ(rows->cardCount(), 1);
        EXPECT_EQ(rows->cards[0].name, u"B");
    }
}

TEST_F(CategoryTest, AFailedRewriteIsReportedAndItsRowKept) {
    AddCardsInCategories();
    faults->FailCall(RapiOp::CreateFile, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(data.ReleaseCategoryCards(3, false));
    EXPECT_EQ(data.cards[0].category, 3);  // its record still says 3
    EXPECT_EQ(data.cards[2].category, 0);
    auto model = Reloaded();
    EXPECT_EQ(model->cards[0].category, 3);
    EXPECT_EQ(model->cards[2].category, 0);
}

TEST_F(CategoryTest, IdsStopAtTheLastSixteenBitOne) {
    data.maxCategoryId = 65534;
    EXPECT_EQ(data.TakeCategoryId(), 65535);
    EXPECT_EQ(data.TakeCategoryId(), 0);
    EXPECT_EQ(data.maxCategoryId, 65535);
}

}  // namespace
