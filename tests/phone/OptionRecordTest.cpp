#include "phone/OptionRecord.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ByteOrder.h"

namespace {

std::u16string FolderOf(const OptionRecord& record) {
    std::u16string folder;
    for (size_t i = 0; i < 260; ++i) {
        char16_t unit = GetU16(record.data() + 40 + 2 * i);
        if (!unit) break;
        folder += unit;
    }
    return folder;
}

TEST(OptionRecordTest, FreshRecordHoldsTheBackupFolderAndNoLockout) {
    const std::u16string folder = u"\\My Documents\\Tessera Backup";
    OptionRecord record = NewOptionRecord(folder);
    ASSERT_EQ(record.size(), 608u);
    EXPECT_EQ(GetU32(record.data() + 20), 0u);  // remaining lockout
    EXPECT_EQ(GetU32(record.data() + 36), 0u);  // lockout duration index: 5 minutes
    EXPECT_EQ(FolderOf(record), folder);
    // Everything after the folder's terminator up to the end of its slot is zero.
    for (size_t i = 40 + 2 * folder.size(); i < 560; ++i) ASSERT_EQ(record[i], 0) << "byte " << i;
}

TEST(OptionRecordTest, LongBackupFolderIsCutAndStaysTerminatedInsideItsSlot) {
    OptionRecord record = NewOptionRecord(std::u16string(300, u'x'));
    EXPECT_EQ(FolderOf(record), std::u16string(259, u'x'));
    EXPECT_EQ(GetU16(record.data() + 40 + 2 * 259), 0);
    for (size_t i = 560; i < 564; ++i) EXPECT_EQ(record[i], 0) << "byte " << i;
}

}  // namespace
