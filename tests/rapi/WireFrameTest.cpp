// The phone link's frame reader (the link tests exercise its round trips): a failed read leaves it failed,
// and a count over the limit or past the end of the body fails before anything is allocated.
#include <gtest/gtest.h>

#include "platform/rapi/wire/WireFrame.h"

namespace {

std::vector<uint8_t> BodyOf(WireWriter& writer) {
    std::span<const uint8_t> frame = writer.Frame();
    return {frame.begin() + kFrameHeaderSize, frame.end()};
}

TEST(WireFrameTest, ReaderIsDoneOnlyWhenEveryReadFitAndNothingIsLeft) {
    const std::vector<uint8_t> body{1, 0, 0, 0, 9};
    WireReader reader(body);
    EXPECT_EQ(reader.U32(), 1u);
    EXPECT_FALSE(reader.Done());
    EXPECT_EQ(reader.U8(), 9u);
    EXPECT_TRUE(reader.Done());
    WireReader overrun(body);
    EXPECT_EQ(overrun.U64(), 0u);
    EXPECT_EQ(overrun.U8(), 0u);  // the bytes are there, but the reader has failed
    EXPECT_FALSE(overrun.Done());

    WireWriter writer(WireOp::CreateFile);
    writer.Text(std::u16string(kMaxPathUnits + 1, u'a'));
    writer.Blob("12345", 5);
    std::vector<uint8_t> over = BodyOf(writer);
    WireReader text(over);
    EXPECT_EQ(text.Text(kMaxPathUnits), u"");
    EXPECT_FALSE(text.Done());
    WireReader blob(std::span<const uint8_t>(over).last(9));
    EXPECT_TRUE(blob.Blob(4).empty());
    EXPECT_FALSE(blob.Done());
    const std::vector<uint8_t> huge{0xFF, 0xFF, 0xFF, 0x7F, 'a', 0};  // near 4 G units the body lacks
    WireReader past(huge);
    EXPECT_EQ(past.Text(UINT32_MAX), u"");
    EXPECT_FALSE(past.Done());
    WireReader pastBlob(huge);
    EXPECT_TRUE(pastBlob.Blob(UINT32_MAX).empty());
    EXPECT_FALSE(pastBlob.Done());
}

}  // namespace
