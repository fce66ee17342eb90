#include <gtest/gtest.h>

#include <random>

#include "ModelFixture.h"
#include "model/DataRows.h"
#include "platform/Utf16.h"

namespace {

// A zone with daylight saving that needs no time-zone files.
constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

card_info_struct Row(int32_t id, std::u16string name, int32_t category = 0, SYSTEMTIME created = {},
                     SYSTEMTIME modified = {}) {
    return {id, category, 0, std::move(name), created, modified, {}};
}

std::vector<int32_t> Ids(const std::vector<card_info_struct>& rows) {
    std::vector<int32_t> ids;
    for (const auto& row : rows) ids.push_back(row.id);
    return ids;
}

class CardOrderTest : public ::testing::Test {
protected:
    // Rows with ids 1, 2, ... in these categories.
    void SetCategories(std::initializer_list<int32_t> categories) {
        data.cards.clear();
        for (int32_t category : categories) data.cards.push_back(Row(data.cardCount() + 1, u"", category));
    }

    void SetNames(std::initializer_list<std::u16string_view> names) {
        data.cards.clear();
        for (auto name : names) data.cards.push_back(Row(data.cardCount() + 1, std::u16string(name)));
    }

    void Find(std::u16string_view text) { data.SetFind(true, std::u16string(text)); }

    CData data;
};

TEST_F(CardOrderTest, PartitionExchangesRowsPairwiseFromBothEnds) {
    struct Case {
        std::initializer_list<int32_t> categories;
        int shown;
        std::vector<int32_t> order;
    };
    const Case cases[] = {
        {{}, 0, {}},
        {{5}, 1, {1}},
        {{1}, 0, {1}},
        {{1, 5}, 1, {2, 1}},
        {{5, 5, 5}, 3, {1, 2, 3}},
        {{1, 1}, 0, {1, 2}},
        {{5, 1, 5, 5, 1}, 3, {1, 4, 3, 2, 5}},
        {{1, 1, 5, 5}, 2, {4, 3, 2, 1}},
        {{1, 5, 1, 5, 5, 1, 5}, 4, {7, 2, 5, 4, 3, 6, 1}},
    };
    for (const Case& c : cases) {
        SetCategories(c.categories);
        EXPECT_EQ(data.PartitionCards(5), c.shown) << ::testing::PrintToString(c.order);
        EXPECT_EQ(Ids(data.cards), c.order);
    }
}

TEST_F(CardOrderTest, FindMatchesTheLettersInAnyCaseAnywhereInTheNameWithinTheCategory) {
    SetNames({u"mail", u"Gmail account", u"my MAIL", u"Email", u"mial", u"ma il", u"\u00c4rger", u""});
    Find(u"MAIL");
    const bool expected[] = {true, true, true, true, false, false, false, false};
    for (int row = 0; row < data.cardCount(); ++row)
        EXPECT_EQ(data.MatchesFilter(row, kAllCategories), expected[row]) << row;
    EXPECT_FALSE(data.MatchesFilter(-1, kAllCategories));
    EXPECT_FALSE(data.MatchesFilter(data.cardCount(), kAllCategories));
    Find(
        u"\u00e4RG");  // Latin-1 capitals fold too, but the multiplication sign is no capital of the division
    EXPECT_TRUE(data.MatchesFilter(6, kAllCategories));
    data.cards[7].name = u"\u00f7";
    Find(u"\u00d7");
    EXPECT_FALSE(data.MatchesFilter(7, kAllCategories));
    Find(u"");
    for (int row = 0; row < data.cardCount(); ++row) EXPECT_TRUE(data.MatchesFilter(row, kAllCategories));
    data.SetFind(false, u"zzz");
    EXPECT_TRUE(data.MatchesFilter(0, kAllCategories));

    data.cards = {Row(1, u"Bank", 5), Row(2, u"Bank", 1), Row(3, u"Shop", 5)};
    Find(u"bank");
    EXPECT_EQ(data.PartitionCards(5), 1);  // within the category only
    EXPECT_EQ(data.cards[0].id, 1);
}

// Besides the name, the find looks in the text, web address and e-mail values, never in a password, and
// without regard to accents.
TEST_F(CardOrderTest, FindLooksInTheValuesButNeverInAPasswordAndFoldsAccents) {
    auto card = Card(u"Bank");
    AddField(*card, u"User", u"Jos\u00c9");
    AddField(*card, u"Web", u"https://caf\u00e9.example", kFieldUrl);
    AddField(*card, u"PIN", u"secret", kFieldPassword);
    AddField(*card, u"Account", u"4711", kFieldNumber);
    data.cards = {MakeRow(*card, 1)};
    for (auto [find, found] : {std::pair{u"jose", true},
                               {u"CAFE.", true},
                               {u"secret", false},
                               {u"4711", false},
                               {u"bank", true},
                               {u"name", false}}) {
        Find(find);
        EXPECT_EQ(data.MatchesFilter(0, kAllCategories), found) << Utf16ToUtf8Lossy(find);
    }
}

TEST_F(CardOrderTest, ArrangingKeepsAnActiveFindUnderAllCards) {
    SetNames({u"Mail work", u"Bank", u"Gmail", u"Shop", u"Ampel"});
    Find(u"m");
    EXPECT_EQ(data.ArrangeCards(kAllCategories, CardSortKey::Name, true), 3);
    EXPECT_EQ(Ids(data.cards), (std::vector<int32_t>{5, 3, 1, 4, 2}));
    data.SetFind(false);
    EXPECT_EQ(data.ArrangeCards(kAllCategories, CardSortKey::Name, false), 5);
    EXPECT_EQ(Ids(data.cards), (std::vector<int32_t>{4, 1, 3, 2, 5}));
}

// Within range, the sorts are checked against a reference below.
TEST_F(CardOrderTest, SortsAndSwapsOutOfRangeAreBoundedOrIgnored) {
    SetNames({u"c", u"b", u"a"});
    ASSERT_TRUE(SortByName(-1, data.cards, false));
    SwapRows(0, 3, data.cards);
    SwapRows(-1, 0, data.cards);
    EXPECT_EQ(Ids(data.cards), (std::vector<int32_t>{1, 2, 3}));
    ASSERT_TRUE(SortByName(1000, data.cards, true));
    ASSERT_TRUE(SortByCategory(1000, data.cards, true));  // all in no category: kept in order
    EXPECT_EQ(Ids(data.cards), (std::vector<int32_t>{3, 2, 1}));
}

TEST(TimeSortKeyTest, LocalSecondsSince1970) {
    const SYSTEMTIME mail = Time(2009, 1, 31, 10, 15, 0);
    {
        ScopedEnv zone("TZ", "UTC0");
        EXPECT_EQ(TimeSortKey(mail), 1233396900);
        SYSTEMTIME ignoredParts = mail;
        ignoredParts.wMilliseconds = 999;
        ignoredParts.wDayOfWeek = 2;
        EXPECT_EQ(TimeSortKey(ignoredParts), 1233396900);
        EXPECT_EQ(TimeSortKey(Time(1970, 1, 1)), 0);
        EXPECT_EQ(TimeSortKey(Time(2009, 2, 31)), TimeSortKey(Time(2009, 3, 3)));
    }
    {
        ScopedEnv zone("TZ", "EST5");
        EXPECT_EQ(TimeSortKey(mail), 1233396900 + 5 * 3600);
        EXPECT_EQ(TimeSortKey(Time(1970, 1, 1)), 5 * 3600);
    }
    ScopedEnv zone("TZ", kCentralEurope);
    EXPECT_EQ(TimeSortKey(Time(2009, 7, 1, 12)), 1246442400);      // summer time, two hours ahead
    EXPECT_EQ(TimeSortKey(Time(2009, 3, 29, 2, 30)), 1238290200);  // skipped: counts as 03:30
    int64_t repeated = TimeSortKey(Time(2009, 10, 25, 2, 30));     // happens twice: either is sound
    EXPECT_TRUE(repeated == 1256430600 || repeated == 1256434200) << repeated;
}

TEST(TimeSortKeyTest, TimesThatCannotBeConvertedCountAsZero) {
    ScopedEnv zone("TZ", "UTC0");
    const SYSTEMTIME cases[] = {Time(0, 1, 1),
                                Time(1899, 12, 31, 23, 59, 59),
                                Time(1969, 12, 31, 23, 59, 59),
                                Time(2009, 0, 1),
                                Time(2009, 13, 1),
                                Time(2009, 1, 0),
                                Time(2009, 1, 32),
                                Time(2009, 1, 1, 24),
                                Time(2009, 1, 1, 0, 60),
                                Time(2009, 1, 1, 0, 0, 60)};
    for (const SYSTEMTIME& time : cases) EXPECT_EQ(TimeSortKey(time), 0) << Millis(time);
    ScopedEnv east("TZ", "JST-9");  // 1970-01-01 01:00 there is before 1970 in UTC
    EXPECT_EQ(TimeSortKey(Time(1970, 1, 1, 1)), 0);
}

// The reference order: a bubble sort that swaps neighbours only when strictly out of order.
template <typename Key>
void BubbleSort(std::vector<card_info_struct>& rows, int last, bool ascending, Key key) {
    for (int p = 0; p < last; ++p) {
        for (int q = last; q > p; --q) {
            if (ascending ? key(rows[q]) < key(rows[q - 1]) : key(rows[q - 1]) < key(rows[q]))
                SwapRows(q, q - 1, rows);
        }
    }
}

TEST(SortEquivalenceTest, StableSortsGiveTheBubbleSortOrder) {
    ScopedEnv zone("TZ", kCentralEurope);
    const std::u16string names[] = {u"",      u"a",     u"A",      u"ab",    u"Ab",
                                    u"b",     u"B",     u"\u00e9", u"a b",   u"abcd",
                                    u"abcdE", u"abcde", u"abcdee", u"Abcde", u"abcd\u00e9"};
    const int32_t categories[] = {-1, 0, 1, 2, 65535};
    SYSTEMTIME times[] = {SYSTEMTIME{},
                          Time(1899, 5, 5),
                          Time(1969, 12, 31, 23),
                          Time(2009, 13, 1),
                          Time(2009, 3, 29, 2, 30),
                          Time(2009, 3, 29, 3, 30),
                          Time(2009, 10, 25, 2, 30),
                          Time(2009, 10, 25, 1, 59, 59),
                          Time(2012, 2, 31),
                          Time(2012, 3, 2),
                          Time(2020, 6, 1, 8, 0, 1),
                          Time(2020, 6, 1, 8, 0, 1)};
    times[11].wMilliseconds = 500;  // the same second as the one before it
    std::mt19937 random(20260512);
    auto pick = [&random](const auto& pool) { return pool[random() % std::size(pool)]; };
    for (int round = 0; round < 400; ++round) {
        std::vector<card_info_struct> rows;
        int n = int(random() % 41);
        for (int id = 1; id <= n; ++id)
            rows.push_back(Row(id, pick(names), pick(categories), pick(times), pick(times)));
        int last = n == 0 ? -1 : int(random() % n);  // a prefix, as after a partition
        bool ascending = random() % 2;

        std::vector<card_info_struct> expected = rows, actual = rows;
        BubbleSort(expected, last, ascending, [](const card_info_struct& r) { return r.name; });
        SortByName(last, actual, ascending);
        EXPECT_EQ(Ids(actual), Ids(expected)) << "name, round " << round;

        expected = actual = rows;
        BubbleSort(expected, last, ascending, [](const card_info_struct& r) { return r.category; });
        SortByCategory(last + 1, actual, ascending);
        EXPECT_EQ(Ids(actual), Ids(expected)) << "category, round " << round;

        for (bool useCreated : {true, false}) {
            expected = actual = rows;
            BubbleSort(expected, last, ascending, [&](const card_info_struct& r) {
                return TimeSortKey(useCreated ? r.created : r.modified);
            });
            SortByTime(last, actual, useCreated, ascending);
            EXPECT_EQ(Ids(actual), Ids(expected)) << "time, round " << round;
        }
    }
}

}  // namespace
