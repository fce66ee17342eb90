// The socket transport's read-ahead block: what it holds, what it hands out, where the file ends, and how
// much it fetches next.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/rapi/ReadAheadBlock.h"

namespace {

// Fills the block from its position with the bytes, as a fetch that asked for `asked` bytes and got them
// behind a few bytes of reply.
void Fetch(ReadAheadBlock& block, const std::string& bytes, uint32_t asked) {
    std::vector<uint8_t> reply(3 + bytes.size(), 9);
    std::copy(bytes.begin(), bytes.end(), reply.begin() + 3);
    block.Fill(reply, 3, static_cast<uint32_t>(bytes.size()), asked);
}

std::string Take(ReadAheadBlock& block, uint32_t count) {
    std::string out(count, '\0');
    out.resize(block.Take(out.data(), count));
    return out;
}

TEST(ReadAheadBlockTest, EmptyBlockHoldsNothingButAnEmptyRead) {
    ReadAheadBlock block;
    EXPECT_FALSE(block.Holds(1));
    EXPECT_TRUE(block.Holds(0));
}

TEST(ReadAheadBlockTest, ServesReadsInsideTheBlockAndMovesOn) {
    ReadAheadBlock block;
    block.MoveTo(100);
    Fetch(block, "abcdefgh", 8);
    EXPECT_TRUE(block.Holds(8));
    EXPECT_EQ(Take(block, 3), "abc");
    EXPECT_EQ(block.Position(), 103);
    EXPECT_TRUE(block.Holds(5));
    EXPECT_FALSE(block.Holds(6));  // the rest is not fetched yet and the file goes on
}

TEST(ReadAheadBlockTest, ShortFetchMarksTheEndOfTheFile) {
    ReadAheadBlock block;
    Fetch(block, "abc", 10);
    EXPECT_TRUE(block.Holds(50));
    EXPECT_EQ(Take(block, 50), "abc");
    EXPECT_TRUE(block.Holds(1));
    EXPECT_EQ(Take(block, 1), "");
    block.MoveTo(1000);  // past the end: nothing to read, and nothing to ask
    EXPECT_TRUE(block.Holds(4));
    EXPECT_EQ(Take(block, 4), "");
}

TEST(ReadAheadBlockTest, SeeksKeepTheBlock) {
    ReadAheadBlock block;
    block.MoveTo(10);
    Fetch(block, "0123456789", 10);
    block.MoveTo(15);
    EXPECT_EQ(Take(block, 2), "56");
    block.MoveTo(9);
    EXPECT_FALSE(block.Holds(1));  // before the block
    block.MoveTo(10);
    EXPECT_EQ(Take(block, 1), "0");
}

TEST(ReadAheadBlockTest, WritingDropsTheBlockAndMovesPastTheBytes) {
    ReadAheadBlock block;
    Fetch(block, "abc", 10);
    block.MoveTo(1);
    block.Wrote(5);
    EXPECT_EQ(block.Position(), 6);
    EXPECT_FALSE(block.Holds(1));  // the file may have grown: its end is no longer known
}

TEST(ReadAheadBlockTest, FetchesGrowWhileReadsGoOnAndShrinkAfterAJump) {
    ReadAheadBlock block;
    EXPECT_EQ(block.FetchSize(16), ReadAheadBlock::kFirstFetch);
    uint32_t expected = ReadAheadBlock::kFirstFetch;
    for (int fetch = 0; fetch < 6; ++fetch) {
        uint32_t size = block.FetchSize(16);
        EXPECT_EQ(size, expected) << fetch;
        Fetch(block, std::string(size, 'x'), size);
        block.MoveTo(block.Position() + size);  // read to the block's end
        expected = std::min(expected * 2, ReadAheadBlock::kLargestFetch);
    }
    block.MoveTo(0);
    EXPECT_EQ(block.FetchSize(16), ReadAheadBlock::kFirstFetch);
    EXPECT_EQ(block.FetchSize(ReadAheadBlock::kLargestFetch + 5), ReadAheadBlock::kLargestFetch + 5);
}

}  // namespace
