// What the list pane shows, on model rows set up directly: the orders are the model's, the header's
// direction lasts until the next showing, and the filter and find text pick the card rows.
#include <gtest/gtest.h>

#include "model/Data.h"
#include "ui/rules/ListContent.h"

namespace {

card_info_struct Card(int32_t id, int32_t category, std::u16string name, uint16_t createdDay) {
    card_info_struct card;
    card.id = id;
    card.category = category;
    card.name = std::move(name);
    card.created = {2009, 1, 0, createdDay, 12, 0, 0, 0};
    card.modified = card.created;
    return card;
}

class ListContentTest : public testing::Test {
protected:
    void SetUp() override {
        data.cards = {Card(1, 2, u"bank", 31), Card(2, 0, u"Mail", 5), Card(3, 2, u"alarm", 17),
                      Card(4, 3, u"Zoo", 9)};
        data.categories = {{0, 2, u"work"}, {0, 3, u"Home"}};
        data.templates = {Card(7, 0, u"b", 1), Card(8, 0, u"B", 1), Card(9, 0, u"a", 1)};
    }
    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> texts;
        for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.Text(row, column));
        return texts;
    }
    // The model's own arrangement of the same rows.
    std::vector<std::u16string> ModelOrder(int32_t filter, CardSortKey key, bool ascending) {
        CData model;
        model.cards = data.cards;
        model.SetFind(data.FindActive(), data.FindText());
        int shown = model.ArrangeCards(filter, key, ascending);
        std::vector<std::u16string> names;
        for (int i = 0; i < shown; ++i) names.push_back(model.cards[i].name);
        return names;
    }

    CData data;
    ListContent list{data, nullptr};
};

TEST_F(ListContentTest, CardRowsFollowTheModelsOrderFilterAndFind) {
    list.Show(ListKind::Cards);
    EXPECT_EQ(Column(0), ModelOrder(kAllCategories, CardSortKey::Name, true));
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"", u"Home", u"work", u"work"}));
    EXPECT_EQ(list.Item(0), (ListItem{ListKind::Cards, 2, {}}));
    EXPECT_EQ(list.Text(0, 2), u"2");

    list.Arrange(CardSortKey::Created);
    EXPECT_EQ(Column(0), ModelOrder(kAllCategories, CardSortKey::Created, true));
    EXPECT_EQ(list.Text(0, 1), u"01/05/2009") << "the locale's date (C), four-digit year, local time";
    list.SetCategoryFilter(2);
    EXPECT_EQ(Column(0), ModelOrder(2, CardSortKey::Created, true));

    data.SetFind(true, u"AL");
    list.SetCategoryFilter(kAllCategories);
    EXPECT_EQ(Column(0), ModelOrder(kAllCategories, CardSortKey::Created, true));
    EXPECT_EQ(list.RowCount(), 1);
}

TEST_F(ListContentTest, AFlippedDirectionLastsUntilTheListIsShownAgainWhileTheKeyStays) {
    list.Show(ListKind::Cards);
    list.Arrange(CardSortKey::Modified);
    list.FlipDirection();
    EXPECT_FALSE(list.Ascending());
    EXPECT_EQ(Column(0), ModelOrder(kAllCategories, CardSortKey::Modified, false));
    list.Show(ListKind::Templates);
    list.Show(ListKind::Cards);
    EXPECT_TRUE(list.Ascending());
    EXPECT_EQ(list.Key(), CardSortKey::Modified);
}

TEST_F(ListContentTest, TemplatesAndCategoriesSortByCodeUnitsEitherWay) {
    list.Show(ListKind::Templates);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"B", u"a", u"b"}));
    EXPECT_EQ(list.Text(0, 1), u"8");
    list.FlipDirection();
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"b", u"a", u"B"}));
    list.Show(ListKind::Categories);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"Home", u"work"}));
    EXPECT_EQ(list.Item(1), (ListItem{ListKind::Categories, 2, {}}));
}

}  // namespace
