#include "store/DynamicList.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"

namespace {

std::vector<int> Walk(DynamicList<int>& list) {
    std::vector<int> seen;
    for (list.MoveFirst(); list.cursor; list.MoveNext()) seen.push_back(list.GetCurrent());
    return seen;
}

// Removing the head, middle nodes or the tail while walking keeps the links, count and tail right.
TEST(DynamicListTest, RemovingWhileWalkingKeepsTheListWhole) {
    for (int removed : {0, 1}) {
        DynamicList<int> list;
        for (int v : {1, 2, 3, 4, 5, 6}) list.AddTail(v);
        for (list.MoveFirst(); list.cursor;) {
            if (list.GetCurrent() % 2 == removed) {
                list.RemoveCurrent();
            } else {
                list.MoveNext();
            }
        }
        list.AddTail(7);
        std::vector<int> expected = removed ? std::vector<int>{2, 4, 6, 7} : std::vector<int>{1, 3, 5, 7};
        EXPECT_EQ(Walk(list), expected) << removed;
        EXPECT_EQ(list.count, 4) << removed;
        list.MoveTo(3);
        EXPECT_EQ(list.previous->element, expected[2]) << removed;
        list.RemoveAll();
        EXPECT_EQ(list.head, nullptr);
        EXPECT_EQ(list.tail, nullptr);
        EXPECT_EQ(list.count, 0);
    }
}

using DynamicListDeathTest = ::testing::Test;

TEST_F(DynamicListDeathTest, ABrokenContractIsLoggedAndEndsTheProcess) {
    ASSERT_TRUE(CSTLogFile::Instance().IsOpen());  // so every child appends to one log
    DynamicList<int> list;
    EXPECT_EXIT(list.GetCurrent(), ::testing::ExitedWithCode(1), "");
    list.AddTail(1);
    list.MoveNext();
    EXPECT_EXIT(list.RemoveCurrent(), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(list.MoveTo(1), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(list.MoveNext(), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(CountLogLines("Critical Error: LinkedList\t(from DynamicList.h,"), 4u);
}

}  // namespace
