#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

using RecordRulesTest = ModelFixture;

// Checks that a time was taken between two readings of the clock.
void ExpectNow(const SYSTEMTIME& time, const SYSTEMTIME& before) {
    EXPECT_GE(Millis(time), Millis(before));
    EXPECT_LE(Millis(time), Millis(GetSystemTimeUtc()));
}

TEST(FieldTypeTest, TextValuesEndAtTheirNul) {
    ItemField field;
    EXPECT_EQ(FieldText(field), u"");  // length 0
    SetFieldText(field, u"");
    EXPECT_EQ(field.length(), 2u);
    EXPECT_EQ(FieldText(field), u"");
    SetFieldText(field, u"New Card");
    EXPECT_EQ(field.length(), 18u);
    EXPECT_EQ(FieldText(field), u"New Card");
    field.value = {'a', 0, 'b', 0, 'c'};  // no NUL, and an odd byte
    EXPECT_EQ(FieldText(field), u"ab");
}

TEST(NewRecordTest, BlankCardAndTemplate) {
    SYSTEMTIME before = GetSystemTimeUtc();
    struct Blank {
        std::unique_ptr<CTesseraItem> record;
        std::u16string_view name;
    };
    const Blank blanks[] = {{NewBlankCard(), u"New Card"}, {NewBlankTemplate(), u"New Template"}};
    for (const auto& [record, name] : blanks) {
        EXPECT_EQ(record->icon, 0u);
        EXPECT_EQ(record->categoryId, 0u);
        EXPECT_EQ(record->draft, 0u);
        ExpectNow(record->created, before);
        EXPECT_EQ(Millis(record->modified), Millis(record->created));
        ASSERT_EQ(record->fields.count, 1);
        const ItemField& field = record->fields.head->element;
        EXPECT_EQ(field.type, 0u);
        EXPECT_EQ(field.Name(), u"Name");
        EXPECT_EQ(field.length(), 2 * std::u16string_view(name).size() + 2);
        EXPECT_EQ(ItemName(*record), name);
    }
}

TEST(ModifiedTimeTest, SetByNewIconCategoryAndDraftButNotByTheName) {
    const SYSTEMTIME old = Time(2001, 1, 1);
    auto card = Card(u"Mail", 3, 12);
    card->modified = old;
    SetItemName(*card, u"Post");
    ChangeIcon(*card, 12);
    ChangeCategory(*card, 3);
    EXPECT_EQ(Millis(card->modified), Millis(old));
    EXPECT_EQ(ItemName(*card), u"Post");

    SYSTEMTIME before = GetSystemTimeUtc();
    ChangeIcon(*card, 13);
    ExpectNow(card->modified, before);
    card->modified = old;
    ChangeCategory(*card, 0);
    ExpectNow(card->modified, before);
    card->modified = old;
    MarkAsDraft(*card);
    ExpectNow(card->modified, before);
    EXPECT_EQ(ItemName(*card), u"Post (Draft)");
    EXPECT_EQ(card->draft, 1u);
    EXPECT_EQ(card->fields.count, 1);
}

TEST_F(RecordRulesTest, ACardFromATemplateTakesItsFieldsButNotItsCreationTime) {
    auto login = Card(u"Login", 3, 12);
    AddField(*login, u"User", u"bob");
    AddEmptyField(*login, u"Password", kFieldPassword);
    login->draft = 1;
    login->created = login->modified = Time(2001, 1, 1);
    uint32_t templateId = data.TakeTemplateId();
    ASSERT_TRUE(data.AddTemplate(*login, templateId));

    SYSTEMTIME before = GetSystemTimeUtc();
    auto card = data.NewCardFromTemplate(templateId);
    EXPECT_EQ(card->categoryId, 3u);
    EXPECT_EQ(card->icon, 12u);
    EXPECT_EQ(card->draft, 1u);
    ExpectNow(card->created, before);
    ExpectNow(card->modified, before);
    // Same fields, byte for byte: the byte forms agree after the head.
    SecureBytes fromTemplate, fromCard;
    ASSERT_TRUE(login->Serialize(fromTemplate));
    ASSERT_TRUE(card->Serialize(fromCard));
    EXPECT_EQ(SecureBytes(fromCard.begin() + 44, fromCard.end()),
              SecureBytes(fromTemplate.begin() + 44, fromTemplate.end()));
}

TEST_F(RecordRulesTest, ACardFromNoTemplateIsBlank) {
    ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(1, 0)));  // the record with id 0xFFFFFFFF
    for (uint32_t id : {99u, 0xFFFFFFFFu}) {
        auto card = data.NewCardFromTemplate(id);
        ASSERT_EQ(card->fields.count, 1);
        EXPECT_EQ(ItemName(*card), u"New Card");
    }
}

}  // namespace
