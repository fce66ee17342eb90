#include "ui/rules/FieldEditCopy.h"

#include <gtest/gtest.h>

#include "model/FieldType.h"

namespace {

using Names = std::vector<std::u16string>;

// A record whose fields carry these names, each TEXT with its name as value.
void Fill(CTesseraItem& item, const Names& names) {
    for (const auto& name : names) {
        item.fields.AddTail(ItemField{});
        item.fields.tail->element.SetName(name);
        SetFieldText(item.fields.tail->element, name);
    }
}

Names NamesOf(FieldEditCopy& copy) {
    Names names;
    for (int i = 0; i < copy.Count(); ++i) names.push_back(copy.Field(i).Name());
    return names;
}

TEST(FieldEditCopyTest, NamesAndTypesChangeOnlyWhereAllowed) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"User"});
    FieldEditCopy card(item, FieldEditCopy::kCard);
    const std::u16string full(63, u'x');
    EXPECT_TRUE(card.Rename(1, full + u"y"));
    EXPECT_EQ(card.Field(1).Name(), full);
    EXPECT_FALSE(card.Rename(1, u"")) << "an empty name keeps the old one";
    EXPECT_FALSE(card.Rename(0, u"Other"));
    EXPECT_FALSE(card.SetType(1, kFieldPassword)) << "a card's own fields keep their types";
    ASSERT_EQ(card.MoveUp(card.Add(u"New Field")), 1);
    EXPECT_TRUE(card.SetType(1, kFieldPassword)) << "a field added here takes any type, wherever it moved";
    EXPECT_EQ(card.RepeatedName(), std::nullopt);
    card.Add(u"New Field ");
    EXPECT_EQ(card.RepeatedName(), u"New Field") << "OK refuses two fields of one name";

    FieldEditCopy plate(item, FieldEditCopy::kTemplate);
    ASSERT_TRUE(plate.SetType(1, kFieldDate));
    ASSERT_EQ(plate.Field(1).length(), 16u);
    EXPECT_GE(FieldTime(plate.Field(1)).wYear, 2024);
    ASSERT_TRUE(plate.SetType(1, kFieldText));
    EXPECT_EQ(plate.Field(1).length(), 0u);
    EXPECT_FALSE(plate.SetType(1, 8));
    EXPECT_FALSE(plate.SetType(0, kFieldUrl));
}

TEST(FieldEditCopyTest, TheFirstFieldStaysFirstAndMovesSwapWholeFields) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"A", u"B", u"C"});
    FieldEditCopy copy(item, FieldEditCopy::kTemplate);
    // Per row: Delete, Up, Down enabled.
    const std::tuple<int, bool, bool, bool> rules[] = {{-1, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 1},
                                                       {2, 1, 1, 1},  {3, 1, 1, 0}, {4, 0, 0, 0}};
    for (const auto& [row, del, up, down] : rules) {
        EXPECT_EQ(copy.CanDelete(row), del) << row;
        EXPECT_EQ(copy.CanMoveUp(row), up) << row;
        EXPECT_EQ(copy.CanMoveDown(row), down) << row;
    }
    EXPECT_EQ(copy.MoveUp(1), -1);
    EXPECT_EQ(copy.Delete(0), -1);
    EXPECT_FALSE(copy.Modified());
    ASSERT_EQ(copy.MoveDown(1), 2);
    EXPECT_EQ(FieldText(copy.Field(2)), u"A");
    ASSERT_EQ(copy.MoveUp(3), 2);
    EXPECT_EQ(NamesOf(copy), (Names{u"Bank", u"B", u"C", u"A"}));
    EXPECT_EQ(copy.Delete(3), 2) << "the last field hands the selection back";
    EXPECT_EQ(copy.Delete(1), 1) << "otherwise the following field takes it";
    // Add, then Delete: the same fields as before, but modified.
    EXPECT_EQ(copy.Delete(copy.Add(u"New Field")), 1);
    EXPECT_EQ(NamesOf(copy), (Names{u"Bank", u"C"}));
    EXPECT_TRUE(copy.Modified());
    EXPECT_EQ(item.fields.count, 4) << "the record itself is never touched";
}

}  // namespace
