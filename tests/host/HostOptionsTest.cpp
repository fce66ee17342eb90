// The host's options record file: exact 32-byte records only, every word kept.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "host/HostOptions.h"

namespace {

const HostOptionsRecord kDefaults{0, 0, 0, 0, 0, 0, 0, 5};

std::vector<uint8_t> RecordBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i + 1);
    return bytes;
}

TEST(HostOptionsTest, AnythingButExactly32BytesGivesTheDefaults) {
    TempDir dir;
    EXPECT_EQ(HostOptions::Read(dir / "missing.dat").Record(), kDefaults);
    for (size_t size : {0u, 31u, 33u, 64u}) {
        WriteBytes(dir / "options.dat", RecordBytes(size));
        EXPECT_EQ(HostOptions::Read(dir / "options.dat").Record(), kDefaults) << size << " bytes";
    }
    EXPECT_EQ(HostOptions::Read(dir.Path()).Record(), kDefaults) << "a folder";
}

TEST(HostOptionsTest, ReadsLittleEndianWords) {
    TempDir dir;
    WriteBytes(dir / "options.dat", RecordBytes(32));
    HostOptions options = HostOptions::Read(dir / "options.dat");
    EXPECT_EQ(options.Word(0), 0x04030201u);
    EXPECT_EQ(options.Word(HostOptions::kIdleLockMinutes), 0x201F1E1Du);
}

TEST(HostOptionsTest, WriteCreatesTheFolderAndKeepsEveryWord) {
    TempDir dir;
    std::filesystem::path file = dir / "config" / "options" / "options.dat";
    HostOptions options;
    for (int i = 0; i < plugin::kOptionsWords; ++i) options.SetWord(i, 0xA0B0C0D0u + i);
    ASSERT_TRUE(options.Write(file));
    EXPECT_EQ(ReadBytes(file).size(), 32u);
    EXPECT_EQ(ReadBytes(file)[0], 0xD0);
    EXPECT_EQ(HostOptions::Read(file).Record(), options.Record());

    // The status bar setting changes its own word only.
    HostOptions changed = HostOptions::Read(file);
    changed.SetStatusBarShown(!changed.StatusBarShown());
    ASSERT_TRUE(changed.Write(file));
    HostOptions reread = HostOptions::Read(file);
    EXPECT_EQ(reread.StatusBarShown(), changed.StatusBarShown());
    for (int i = 1; i < plugin::kOptionsWords; ++i) EXPECT_EQ(reread.Word(i), options.Word(i)) << i;
}

TEST(HostOptionsTest, StatusBarIsShownByDefaultAndCanBeHidden) {
    HostOptions options;
    EXPECT_TRUE(options.StatusBarShown());
    options.SetStatusBarShown(false);
    EXPECT_FALSE(options.StatusBarShown());
    EXPECT_EQ(options.Word(HostOptions::kIdleLockMinutes), 5u);
}

TEST(HostOptionsTest, WriteFailsWhereNoFolderCanBeMade) {
    TempDir dir;
    WriteBytes(dir / "plain", {1});
    EXPECT_FALSE(HostOptions().Write(dir / "plain" / "options.dat"));
}

}  // namespace
