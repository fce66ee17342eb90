// The phone link's frame codec: values round-trip, and a reader refuses counts over its limits or past the
// end of the body before it allocates anything.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/rapi/WireFrame.h"

namespace {

std::vector<uint8_t> BodyOf(WireWriter& writer) {
    std::span<const uint8_t> frame = writer.Frame();
    return {frame.begin() + kFrameHeaderSize, frame.end()};
}

TEST(WireFrameTest, HeaderCarriesTheBodyLengthAndOperationLittleEndian) {
    WireWriter writer(WireOp::RegQueryValue);
    writer.U32(0x01020304);
    writer.U8(9);
    std::span<const uint8_t> frame = writer.Frame();
    ASSERT_EQ(frame.size(), kFrameHeaderSize + 5);
    EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.end()),
              (std::vector<uint8_t>{5, 0, 0, 0, 15, 0, 0, 0, 4, 3, 2, 1, 9}));
    FrameHeader header = ParseFrameHeader(frame.data());
    EXPECT_EQ(header.length, 5u);
    EXPECT_EQ(header.op, static_cast<uint32_t>(WireOp::RegQueryValue));
}

TEST(WireFrameTest, ValuesReadBackInOrder) {
    WireWriter writer(WireOp::CreateFile);
    writer.U8(0xAB);
    writer.U32(0xDEADBEEF);
    writer.I64(-2);
    writer.Handle(INVALID_HANDLE_VALUE);
    writer.Text(u"\\Dossier\\Café.dat");
    writer.Blob("xyz", 3);
    writer.PatchU32(1, 7);
    std::vector<uint8_t> body = BodyOf(writer);
    WireReader reader(body);
    EXPECT_EQ(reader.U8(), 0xAB);
    EXPECT_EQ(reader.U32(), 7u);
    EXPECT_EQ(reader.I64(), -2);
    EXPECT_EQ(reader.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(reader.Text(kMaxPathUnits), u"\\Dossier\\Café.dat");
    std::span<const uint8_t> blob = reader.Blob(3);
    EXPECT_EQ(std::string(blob.begin(), blob.end()), "xyz");
    EXPECT_TRUE(reader.Done());
}

TEST(WireFrameTest, ReusedWriterAndBlobsFilledInPlaceGiveTheFramesAFreshWriterGives) {
    WireWriter reused(WireOp::ReadFile);
    std::memset(reused.BlobRoom(100000), 0xEE, 100000);
    reused.EndBlob(100000);
    reused.Frame();
    reused.Reset(WireOp::RegQueryValue);
    reused.U8(7);
    std::memcpy(reused.BlobRoom(10), "abc", 3);
    reused.EndBlob(3);
    reused.Text(u"k");

    WireWriter fresh(WireOp::RegQueryValue);
    fresh.U8(7);
    fresh.Blob("abc", 3);
    fresh.Text(u"k");
    std::span<const uint8_t> expected = fresh.Frame(), got = reused.Frame();
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.end()),
              std::vector<uint8_t>(expected.begin(), expected.end()));
}

// A failed read leaves the reader failed, and a count over the limit or past the end allocates nothing.
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
