#include "ui/FieldEditCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/FieldType.h"

namespace {

// A record whose fields carry these names, each of type TEXT with its name as value.
void Fill(CTesseraItem& item, const std::vector<std::u16string>& names) {
    for (const auto& name : names) {
        ItemField field;
        field.SetName(name);
        SetFieldText(field, name);
        item.fields.AddTail(std::move(field));
    }
}

std::vector<std::u16string> Names(FieldEditCopy& copy) {
    std::vector<std::u16string> names;
    for (int i = 0; i < copy.Count(); ++i) names.push_back(copy.Field(i).Name());
    return names;
}

TEST(FieldEditCopyTest, AddThenDeleteLeavesTheFieldsButStaysModified) {
    CTesseraItem item;
    Fill(item, {u"Bank"});
    FieldEditCopy copy(item, FieldEditCopy::kTemplate);
    ASSERT_TRUE(copy.Valid());
    EXPECT_FALSE(copy.Modified());
    const int added = copy.Add(u"New Field");
    ASSERT_EQ(added, 1);
    EXPECT_EQ(copy.Field(added).type, kFieldText);
    EXPECT_EQ(copy.Field(added).length(), 0u);
    EXPECT_EQ(copy.Delete(added), 0);
    EXPECT_EQ(Names(copy), std::vector<std::u16string>{u"Bank"});
    EXPECT_TRUE(copy.Modified());
    EXPECT_EQ(item.fields.count, 1) << "the record itself is never touched";
}

TEST(FieldEditCopyTest, RenameKeepsSixtyThreeUnitsAndRefusesEmptyAndTheFirstField) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"User"});
    FieldEditCopy copy(item, FieldEditCopy::kCard);
    const std::u16string full(63, u'x');
    EXPECT_TRUE(copy.Rename(1, full + u"y"));
    EXPECT_EQ(copy.Field(1).Name(), full);
    EXPECT_FALSE(copy.Rename(1, u""));
    EXPECT_EQ(copy.Field(1).Name(), full);
    EXPECT_FALSE(copy.Rename(0, u"Other"));
    EXPECT_EQ(copy.Field(0).Name(), u"Bank");
}

TEST(FieldEditCopyTest, TimeTypesTakeNowAndOtherTypesAnEmptyValue) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"Opened"});
    FieldEditCopy copy(item, FieldEditCopy::kTemplate);
    const SYSTEMTIME before = GetSystemTimeUtc();
    ASSERT_TRUE(copy.SetType(1, kFieldDate));
    ASSERT_EQ(copy.Field(1).length(), 16u);
    const SYSTEMTIME stored = FieldTime(copy.Field(1));
    EXPECT_TRUE(IsCalendarTime(stored));
    EXPECT_GE(stored.wYear, before.wYear);
    ASSERT_TRUE(copy.SetType(1, kFieldText));
    EXPECT_EQ(copy.Field(1).length(), 0u);
    EXPECT_FALSE(copy.SetType(1, 8)) << "no such type";
    EXPECT_FALSE(copy.SetType(0, kFieldUrl));
}

TEST(FieldEditCopyTest, ACardRetypesOnlyTheFieldsAddedToIt) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"User"});
    FieldEditCopy copy(item, FieldEditCopy::kCard);
    EXPECT_FALSE(copy.SetType(1, kFieldPassword));
    const int added = copy.Add(u"New Field");
    EXPECT_TRUE(copy.SetType(added, kFieldPassword));
    // The added field keeps its freedom when it moves.
    ASSERT_EQ(copy.MoveUp(added), 1);
    EXPECT_TRUE(copy.CanChangeType(1));
    EXPECT_FALSE(copy.CanChangeType(2));
}

TEST(FieldEditCopyTest, EnablingRulesKeepTheFirstFieldInPlace) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"A", u"B", u"C"});
    FieldEditCopy copy(item, FieldEditCopy::kTemplate);
    struct Rule {
        int row;
        bool del, up, down;
    };
    for (const Rule& rule :
         {Rule{-1, false, false, false}, Rule{0, false, false, false}, Rule{1, true, false, true},
          Rule{2, true, true, true}, Rule{3, true, true, false}, Rule{4, false, false, false}}) {
        SCOPED_TRACE(rule.row);
        EXPECT_EQ(copy.CanDelete(rule.row), rule.del);
        EXPECT_EQ(copy.CanMoveUp(rule.row), rule.up);
        EXPECT_EQ(copy.CanMoveDown(rule.row), rule.down);
    }
    EXPECT_EQ(copy.MoveUp(1), -1);
    EXPECT_EQ(copy.Delete(0), -1);
    EXPECT_FALSE(copy.Modified());
}

TEST(FieldEditCopyTest, MovesSwapWholeFieldsAndDeleteSelectsTheNeighbour) {
    CTesseraItem item;
    Fill(item, {u"Bank", u"A", u"B", u"C"});
    FieldEditCopy copy(item, FieldEditCopy::kTemplate);
    ASSERT_EQ(copy.MoveDown(1), 2);
    EXPECT_EQ(Names(copy), (std::vector<std::u16string>{u"Bank", u"B", u"A", u"C"}));
    EXPECT_EQ(FieldText(copy.Field(2)), u"A");
    ASSERT_EQ(copy.MoveUp(3), 2);
    EXPECT_EQ(Names(copy), (std::vector<std::u16string>{u"Bank", u"B", u"C", u"A"}));
    EXPECT_EQ(copy.Delete(3), 2) << "the last field hands the selection back";
    EXPECT_EQ(copy.Delete(1), 1) << "otherwise the following field takes it";
    EXPECT_EQ(Names(copy), (std::vector<std::u16string>{u"Bank", u"C"}));
}

}  // namespace
