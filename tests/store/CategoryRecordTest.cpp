#include "store/CategoryRecord.h"

#include <gtest/gtest.h>

#include "platform/ByteOrder.h"

namespace {

// The byte form of a category record as the phone application writes it: a zero head, then per
// category its packed type, its name in 64 units and a zero value length.
std::vector<uint8_t> RecordBytes(const std::vector<Category>& categories) {
    std::vector<uint8_t> bytes(CTesseraItem::kHeadSize);
    for (const Category& category : categories) {
        std::vector<uint8_t> field(CTesseraItem::kFieldFixedSize);
        PutU32(field.data(), uint32_t(category.id) << 16 | category.icon);
        for (size_t i = 0; i < category.name.size(); ++i) PutU16(field.data() + 4 + 2 * i, category.name[i]);
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    return bytes;
}

TEST(CategoryRecordTest, ASampleReadsAndIsWrittenByteForByteAndACutOneIsRefused) {
    const std::vector<Category> categories{{1, 12, u"Personal"}, {2, 0, u"Finance"}, {65535, 65535, u"Last"}};
    const std::vector<uint8_t> sample = RecordBytes(categories);
    CTesseraItem read;
    ASSERT_TRUE(read.Deserialize(sample.data(), sample.size()));
    EXPECT_EQ(CategoryRecord::Read(read), categories);
    EXPECT_EQ(CategoryRecord::Find(read, 2), &read.fields.head->next->element);
    EXPECT_EQ(CategoryRecord::Find(read, 3), nullptr);

    CTesseraItem written;
    written.created = written.modified = SYSTEMTIME{};
    CategoryRecord::Write(categories, written);
    SecureBytes bytes;
    ASSERT_TRUE(written.Serialize(bytes));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), sample);

    // A record one byte short of its last field holds no category at all.
    EXPECT_FALSE(read.Deserialize(sample.data(), sample.size() - 1));
    EXPECT_TRUE(CategoryRecord::Read(read).empty());
}

}  // namespace
