#include "phone/OptionRecord.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ByteOrder.h"

namespace {

int32_t IntAt(const OptionRecord& record, size_t offset) {
    return static_cast<int32_t>(GetU32(record.data() + offset));
}

std::u16string FolderOf(const OptionRecord& record) {
    std::u16string folder;
    for (size_t i = 0; i < 260; ++i) {
        char16_t unit = GetU16(record.data() + 40 + 2 * i);
        if (!unit) break;
        folder += unit;
    }
    return folder;
}

TEST(OptionRecordTest, FreshRecordHoldsTheBackupFolderNoLockoutAndSettingsInRange) {
    OptionRecord record = NewOptionRecord(u"\\My Documents\\Tessera Backup");
    ASSERT_EQ(record.size(), 608u);
    EXPECT_EQ(IntAt(record, 20), 0);  // remaining lockout
    EXPECT_EQ(IntAt(record, 36), 0);  // lockout duration index: 5 minutes
    struct Range {
        size_t offset;
        int32_t low, high;
    };
    for (Range r :
         {Range{24, 0, 1}, {28, 0, 1}, {32, 0, 6}, {564, 0, 1}, {568, 0, 1}, {572, 0, 3}, {584, 0, 1}}) {
        EXPECT_GE(IntAt(record, r.offset), r.low) << "offset " << r.offset;
        EXPECT_LE(IntAt(record, r.offset), r.high) << "offset " << r.offset;
    }
    EXPECT_EQ(FolderOf(record), u"\\My Documents\\Tessera Backup");
    // Everything after the folder's terminator up to the end of its slot is zero.
    size_t terminator = 40 + 2 * std::u16string(u"\\My Documents\\Tessera Backup").size();
    for (size_t i = terminator; i < 560; ++i) ASSERT_EQ(record[i], 0) << "byte " << i;
}

TEST(OptionRecordTest, LongBackupFolderIsCutAndStaysTerminatedInsideItsSlot) {
    OptionRecord record = NewOptionRecord(std::u16string(300, u'x'));
    EXPECT_EQ(FolderOf(record), std::u16string(259, u'x'));
    EXPECT_EQ(GetU16(record.data() + 40 + 2 * 259), 0);
    for (size_t i = 560; i < 564; ++i) EXPECT_EQ(record[i], 0) << "byte " << i;
}

}  // namespace
