#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

using DataChangeTest = ModelFixture;

SecureBytes ByteForm(const CTesseraItem& item) {
    SecureBytes bytes;
    EXPECT_TRUE(item.Serialize(bytes));
    return bytes;
}

// Each change writes the record, then changes its row only (built as on load), and tells the screens.
TEST_F(DataChangeTest, AddUpdateAndDeleteChangeTheRecordAndItsRowOnly) {
    auto card = Card(u"Bank", 3, 12);
    AddField(*card, u"PIN", u"1234", kFieldPassword);
    uint32_t id = data.TakeCardId();
    ASSERT_EQ(id, 1u);
    ASSERT_TRUE(data.AddCard(*card, id));
    ASSERT_EQ(data.cardCount(), 1);
    EXPECT_EQ(data.cards[0].id, 1);
    EXPECT_EQ(data.cards[0].name, u"Bank");
    EXPECT_EQ(listener.events, std::vector<std::string>{"row 0 1"});
    EXPECT_EQ(ByteForm(*Reloaded()->ReadCardRecord(id)), ByteForm(*card));

    uint32_t second = AddCard(u"Second"), third = AddCard(u"Third");
    listener.events.clear();
    auto changed = Card(u"Second, renamed", 5, 40);
    ASSERT_TRUE(data.UpdateCard(*changed, second));
    EXPECT_EQ(data.cards[0].name, u"Bank");
    EXPECT_EQ(data.cards[1].name, u"Second, renamed");
    EXPECT_EQ(listener.events, std::vector<std::string>{"row 0 2"});
    EXPECT_FALSE(data.UpdateCard(*changed, 99));
    EXPECT_EQ(listener.events.size(), 1u);
    auto model = Reloaded();
    EXPECT_EQ(ByteForm(*model->ReadCardRecord(second)), ByteForm(*changed));
    EXPECT_EQ(ByteForm(*model->ReadCardRecord(id)), ByteForm(*card));

    ASSERT_TRUE(data.DeleteCard(second));
    ASSERT_EQ(data.cardCount(), 2);
    EXPECT_EQ(data.cards[1].id, int32_t(third));
    EXPECT_EQ(data.FindRecordEntry(CData::kWalletStore, second), nullptr);
    EXPECT_FALSE(data.DeleteCard(second));
    model = Reloaded();
    ASSERT_EQ(model->cardCount(), 2);
    EXPECT_EQ(model->cards[1].name, u"Third");
}

TEST_F(DataChangeTest, IdsAreTakenAtOnceAndNotHandedOutAgain) {
    EXPECT_EQ(data.TakeCardId(), 1u);
    EXPECT_EQ(data.WalletStore()->lastId, 1u);
    EXPECT_EQ(data.TakeCardId(), 2u);  // 1 was never saved, yet it is not handed out again
    uint32_t saved = AddCard(u"Third");
    EXPECT_EQ(saved, 3u);
    EXPECT_EQ(data.TakeTemplateId(), 1u);  // each store counts on its own

    EXPECT_EQ(Reloaded()->TakeCardId(), 4u);

    // The id below the category record's is the last one.
    data.WalletStore()->lastId = 0xFFFFFFFD;
    EXPECT_EQ(data.TakeCardId(), 0xFFFFFFFEu);
    EXPECT_EQ(data.TakeCardId(), 0u);
    EXPECT_EQ(data.WalletStore()->lastId, 0xFFFFFFFEu);
}

TEST_F(DataChangeTest, RefusesTheCategoryRecordIdAndIdsInUse) {
    uint32_t id = AddCard(u"First");
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(1, 0)));
    std::vector<uint8_t> wallet = ReadBytes(File()), templates = ReadBytes(TemplatesFile());
    listener.events.clear();

    auto twin = Card(u"Twin");
    const uint32_t fresh = data.TakeCardId();
    EXPECT_FALSE(data.AddCard(*twin, id));
    EXPECT_FALSE(Reloaded()->AddCard(*twin, id));  // an id read from the file, not added
    for (const auto& batch : {std::vector<NewRecord>{{twin.get(), fresh}, {twin.get(), id}},
                              std::vector<NewRecord>{{twin.get(), fresh}, {twin.get(), fresh}}})
        EXPECT_FALSE(data.AddCards(batch));
    EXPECT_FALSE(data.AddCard(*Card(u"Reserved"), 0xFFFFFFFF));
    EXPECT_FALSE(data.AddTemplate(*NewBlankTemplate(), 0xFFFFFFFF));
    EXPECT_FALSE(data.UpdateTemplate(*NewBlankTemplate(), 0xFFFFFFFF));
    EXPECT_FALSE(data.DeleteTemplate(0xFFFFFFFF));

    EXPECT_EQ(ReadBytes(File()), wallet);
    EXPECT_EQ(ReadBytes(TemplatesFile()), templates);
    EXPECT_EQ(data.cardCount(), 1);
    EXPECT_EQ(data.templateCount(), 0);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(Reloaded()->categoryCount(), 1);
}

TEST_F(DataChangeTest, FailedWritesLeaveTheRowsAsTheyWere) {
    uint32_t id = AddCard(u"Kept", 1, 1);
    listener.events.clear();

    faults->FailCall(RapiOp::WriteFile, 1, ERROR_DISK_FULL);
    EXPECT_FALSE(data.AddCard(*Card(u"Lost"), data.TakeCardId()));
    faults->FailCall(RapiOp::WriteFile, 1, ERROR_DISK_FULL);
    EXPECT_FALSE(data.UpdateCard(*Card(u"Renamed", 2, 2), id));
    faults->FailCall(RapiOp::CreateFile, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(data.AddTemplate(*NewBlankTemplate(), data.TakeTemplateId()));

    ASSERT_EQ(data.cardCount(), 1);
    EXPECT_EQ(data.cards[0].name, u"Kept");
    EXPECT_EQ(data.cards[0].category, 1);
    EXPECT_EQ(data.templateCount(), 0);
    EXPECT_TRUE(listener.events.empty());
}

// Another program (here a second model) grows a card after this model read the wallet.
TEST_F(DataChangeTest, AChangeToAWalletAnotherProgramChangedFailsUntilTheModelReloads) {
    uint32_t id = AddCard(u"Bank");
    auto other = Reloaded();
    auto grown = Card(u"Bank");
    AddField(*grown, u"Notes", std::u16string(60, u'n'));
    ASSERT_TRUE(other->UpdateCard(*grown, id));
    std::vector<uint8_t> before = ReadBytes(File());

    EXPECT_FALSE(data.UpdateCard(*Card(u"Bank account"), id));
    EXPECT_EQ(data.LastChange(), CTesseraEncryptedLinkList::kChangeStale);
    EXPECT_FALSE(data.AddCard(*Card(u"New"), data.TakeCardId()));
    EXPECT_EQ(data.LastChange(), CTesseraEncryptedLinkList::kChangeStale);
    EXPECT_EQ(ReadBytes(File()), before);

    ASSERT_TRUE(data.Reload());
    EXPECT_EQ(ByteForm(*data.ReadCardRecord(id)), ByteForm(*grown));
    ASSERT_TRUE(data.UpdateCard(*Card(u"Bank account"), id));
    EXPECT_EQ(data.LastChange(), CTesseraEncryptedLinkList::kChangeDone);
    EXPECT_EQ(Reloaded()->cards[0].name, u"Bank account");
}

TEST_F(DataChangeTest, ChangingATemplateLeavesTheCardsMadeFromIt) {
    auto login = Card(u"Login");
    AddField(*login, u"User", u"bob");
    uint32_t templateId = data.TakeTemplateId();
    ASSERT_TRUE(data.AddTemplate(*login, templateId));
    uint32_t cardId = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*data.NewCardFromTemplate(templateId), cardId));
    listener.events.clear();

    ASSERT_TRUE(data.UpdateTemplate(*Card(u"Login, renamed"), templateId));
    EXPECT_EQ(data.templates[0].name, u"Login, renamed");
    EXPECT_EQ(listener.events, std::vector<std::string>{"row 1 1"});
    ASSERT_TRUE(data.DeleteTemplate(templateId));
    EXPECT_EQ(data.templateCount(), 0);
    auto model = Reloaded();
    EXPECT_EQ(model->templateCount(), 0);
    auto card = model->ReadCardRecord(cardId);
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->fields.count, 2);
    EXPECT_EQ(FieldText(card->fields.tail->element), u"bob");
}

TEST_F(DataChangeTest, SaveAsTemplateKeepsTheShapeAndEmptiesTheValues) {
    auto bank = Card(u"Bank", 3, 12);
    AddField(*bank, u"PIN", u"1234", kFieldPassword);
    AddTimeField(*bank, u"Since", Time(2009, 1, 31));
    bank->draft = 1;
    bank->created = Time(2005, 1, 1, 1, 1, 1);
    bank->modified = Time(2006, 2, 2, 2, 2, 2);
    uint32_t cardId = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*bank, cardId));
    data.TemplateStore()->lastId = 6;
    listener.events.clear();

    ASSERT_TRUE(data.SaveCardAsTemplate(cardId));
    ASSERT_EQ(data.templateCount(), 1);
    EXPECT_EQ(data.templates[0].id, 7);
    EXPECT_EQ(data.templates[0].name, u"Bank");
    EXPECT_EQ(listener.events, std::vector<std::string>{"row 1 7"});

    // The same record, but for the values after the name.
    auto shape = Card(u"Bank", 3, 12);
    AddEmptyField(*shape, u"PIN", kFieldPassword);
    AddEmptyField(*shape, u"Since", kFieldDate);
    shape->draft = 1;
    shape->created = bank->created;
    shape->modified = bank->modified;
    auto saved = Reloaded()->ReadTemplateRecord(7);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(ByteForm(*saved), ByteForm(*shape));

    EXPECT_FALSE(data.SaveCardAsTemplate(cardId + 1));
    EXPECT_EQ(data.templateCount(), 1);
}

TEST_F(DataChangeTest, ResetDropsTheStoresAndRowsButNotCategoryIdsOrTheFind) {
    AddCard(u"Card");
    ASSERT_TRUE(data.AddCategory(u"Home", PackCategory(2, 0)));
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(7, 0)));
    ASSERT_TRUE(data.DeleteCategory(7));
    data.SetFind(true, u"car");

    data.Reset();
    EXPECT_EQ(data.WalletStore(), nullptr);
    EXPECT_EQ(data.TemplateStore(), nullptr);
    EXPECT_EQ(data.cardCount(), 0);
    EXPECT_EQ(data.categoryCount(), 0);
    EXPECT_EQ(data.FindText(), u"car");
    EXPECT_TRUE(data.FindActive());

    // Loaded again, only category 2 is on file; yet 7 was seen before, so the next id is 8.
    Open(data);
    EXPECT_EQ(data.cardCount(), 1);
    EXPECT_EQ(data.categoryCount(), 1);
    EXPECT_EQ(data.TakeCategoryId(), 8);
}

}  // namespace
