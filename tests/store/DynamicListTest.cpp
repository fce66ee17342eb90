#include "store/DynamicList.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"

namespace {

DynamicList<int>* Filled(DynamicList<int>& list, std::initializer_list<int> values) {
    for (int v : values) list.AddTail(v);
    return &list;
}

std::vector<int> Walk(DynamicList<int>& list) {
    std::vector<int> seen;
    for (list.MoveFirst(); list.cursor; list.MoveNext()) seen.push_back(list.GetCurrent());
    return seen;
}

TEST(DynamicListTest, AddTailPutsTheCursorOnTheNewNode) {
    DynamicList<int> list;
    EXPECT_EQ(list.index, -1);
    list.AddTail(7);
    EXPECT_EQ(list.head, list.tail);
    EXPECT_EQ(list.cursor, list.head);
    EXPECT_EQ(list.previous, nullptr);
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(list.count, 1);
    auto* oldTail = list.tail;
    list.AddTail(8);
    EXPECT_EQ(list.previous, oldTail);
    EXPECT_EQ(list.cursor, list.tail);
    EXPECT_EQ(list.index, 1);
    EXPECT_EQ(list.GetCurrent(), 8);
}

TEST(DynamicListTest, WalkingPastTheLastNodeLeavesNoCursor) {
    DynamicList<int> list;
    Filled(list, {1, 2, 3});
    list.MoveFirst();
    list.MoveNext();
    list.MoveNext();
    EXPECT_EQ(list.GetCurrent(), 3);
    EXPECT_EQ(list.index, 2);
    list.MoveNext();
    EXPECT_EQ(list.cursor, nullptr);
    EXPECT_EQ(list.index, 3);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3}));
}

TEST(DynamicListTest, MoveToKeepsPreviousOneBehind) {
    DynamicList<int> list;
    Filled(list, {1, 2, 3});
    list.MoveTo(2);
    EXPECT_EQ(list.GetCurrent(), 3);
    EXPECT_EQ(list.previous->element, 2);
    list.MoveTo(0);
    EXPECT_EQ(list.previous, nullptr);
    EXPECT_EQ(list.GetCurrent(), 1);
}

TEST(DynamicListTest, RemovingTheFirstNodeMakesTheSecondTheHeadAndCursor) {
    DynamicList<int> list;
    Filled(list, {1, 2, 3});
    list.MoveFirst();
    list.RemoveCurrent();
    EXPECT_EQ(list.head->element, 2);
    EXPECT_EQ(list.cursor, list.head);
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(Walk(list), (std::vector<int>{2, 3}));
}

TEST(DynamicListTest, RemovingTheTailMovesTheTailBackAndTheIndexDown) {
    DynamicList<int> list;
    Filled(list, {1, 2, 3});
    list.MoveTo(2);
    list.RemoveCurrent();
    EXPECT_EQ(list.tail->element, 2);
    EXPECT_EQ(list.tail->next, nullptr);
    EXPECT_EQ(list.cursor, nullptr);
    EXPECT_EQ(list.index, 1);
    list.AddTail(4);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 4}));
}

TEST(DynamicListTest, RemovingWhileWalkingVisitsEveryOtherElementOnce) {
    DynamicList<int> list;
    Filled(list, {1, 2, 3, 4, 5, 6});
    for (list.MoveFirst(); list.cursor;) {
        if (list.GetCurrent() % 2 == 0) {
            list.RemoveCurrent();
        } else {
            list.MoveNext();
        }
    }
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.tail->element, 5);
}

TEST(DynamicListTest, RemoveAllResetsEverything) {
    DynamicList<int> list;
    Filled(list, {1, 2});
    list.RemoveAll();
    EXPECT_EQ(list.index, -1);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    list.MoveFirst();
    EXPECT_EQ(list.cursor, nullptr);
    EXPECT_EQ(list.index, -1);
}

using DynamicListDeathTest = ::testing::Test;

TEST_F(DynamicListDeathTest, ABrokenContractIsLoggedAndEndsTheProcess) {
    ASSERT_TRUE(CSTLogFile::Instance().IsOpen());  // so every child appends to one log
    DynamicList<int> list;
    EXPECT_EXIT(list.GetCurrent(), ::testing::ExitedWithCode(1), "");
    Filled(list, {1});
    list.MoveNext();
    EXPECT_EXIT(list.RemoveCurrent(), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(list.MoveTo(1), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(list.MoveNext(), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(CountLogLines("Critical Error: LinkedList\t(from DynamicList.h,"), 4u);
}

}  // namespace
