#include "platform/HostOptionsFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "support/OptionsRecordBytes.h"
#include "support/TestSupport.h"

namespace {

TEST(HostOptionsFile, ReadsExactlyThirtyTwoBytesNothingShorterAndMakesAMissingFile) {
    TempDir dir;
    HostOptionsRecord record{};
    record[7] = 5;
    WriteBytes(dir / "short", std::vector<uint8_t>(31, 1));
    EXPECT_FALSE(ReadOptionsFile(dir / "short", record));
    EXPECT_EQ(record[7], 5u);
    EXPECT_EQ(record[0], 0u);

    std::vector<uint8_t> longer = OptionsRecordBytes(10, 0x11);
    longer.push_back(0x99);
    WriteBytes(dir / "long", longer);
    ASSERT_TRUE(ReadOptionsFile(dir / "long", record));
    EXPECT_EQ(record[7], 10u);
    EXPECT_EQ(record[0], 0x11111111u);

    int error = 0;  // a missing file is made empty, a missing folder is an error
    EXPECT_FALSE(ReadOptionsFile(dir / "options.dat", record));
    EXPECT_EQ(std::filesystem::file_size(dir / "options.dat"), 0u);
    EXPECT_FALSE(ReadOptionsFile(dir / "absent" / "options.dat", record, &error));
    EXPECT_EQ(error, ENOENT);
}

TEST(HostOptionsFile, WriteRoundTripsEveryWordLittleEndian) {
    TempDir dir;
    HostOptionsRecord record{1, 2, 3, 0x01020304, 5, 6, 7, 0xFFFFFFFF};
    ASSERT_TRUE(WriteOptionsFile(dir / "options.dat", record));
    std::vector<uint8_t> bytes = ReadBytes(dir / "options.dat");
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 16)),
              (std::vector<uint8_t>{4, 3, 2, 1}));
    HostOptionsRecord back{};
    ASSERT_TRUE(ReadOptionsFile(dir / "options.dat", back));
    EXPECT_EQ(back, record);
}

TEST(HostOptionsFile, AFileHeldByAnotherFailsAfterTwoAttempts) {
    TempDir dir;
    WriteBytes(dir / "options.dat", OptionsRecordBytes(9, 0));
    int holder = ::open((dir / "options.dat").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    HostOptionsRecord record{};
    EXPECT_FALSE(ReadOptionsFile(dir / "options.dat", record));
    EXPECT_FALSE(WriteOptionsFile(dir / "options.dat", record));
    ::close(holder);
    EXPECT_TRUE(ReadOptionsFile(dir / "options.dat", record));
    EXPECT_EQ(record[7], 9u);
}

}  // namespace
