// The host's options record file, alone and beside a plug-in that reads the same file.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "TestSupport.h"
#include "host/HostOptions.h"
#include "platform/HostOptionsFile.h"

namespace {

const HostOptionsRecord kDefaults{0, 0, 0, 0, 0, 0, 0, 5};

TEST(HostOptionsTest, ShortMissingOrUnreadableFilesGiveTheDefaults) {
    TempDir dir;
    EXPECT_EQ(HostOptions::Read(dir / "missing.dat").Record(), kDefaults);
    EXPECT_EQ(HostOptions::Read(dir.Path()).Record(), kDefaults) << "a folder";
    WriteBytes(dir / "options.dat", std::vector<uint8_t>(31, 0x77));
    EXPECT_EQ(HostOptions::Read(dir / "options.dat").Record(), kDefaults);
}

TEST(HostOptionsTest, WriteCreatesTheFolderAndTheStatusBarChangesItsOwnWord) {
    TempDir dir;
    std::filesystem::path file = dir / "config" / "options" / "options.dat";
    HostOptions options;
    for (int i = 0; i < plugin::kOptionsWords; ++i) options.SetWord(i, 0xA0B0C0D0u + i);
    ASSERT_TRUE(options.Write(file));
    EXPECT_EQ(ReadBytes(file).size(), 32u);
    EXPECT_EQ(ReadBytes(file)[0], 0xD0);

    HostOptions changed = HostOptions::Read(file);
    changed.SetStatusBarShown(!changed.StatusBarShown());
    ASSERT_TRUE(changed.Write(file));
    HostOptions reread = HostOptions::Read(file);
    EXPECT_EQ(reread.StatusBarShown(), changed.StatusBarShown());
    for (int i = 1; i < plugin::kOptionsWords; ++i) EXPECT_EQ(reread.Word(i), options.Word(i)) << i;

    WriteBytes(dir / "plain", {1});
    EXPECT_FALSE(HostOptions().Write(dir / "plain" / "options.dat"));
}

// The host saves its record while the plug-in reads the same file: the plug-in only ever sees a whole
// record, and an open fails only because the other side holds the file for that moment.
TEST(HostOptionsTest, HostWritesAndPluginReadsOfOneFileNeverSeeAPartialRecord) {
    TempDir dir;
    std::filesystem::path file = dir / "options.dat";
    HostOptions first, second;
    first.SetWord(3, 0x11111111);
    second.SetWord(3, 0x22222222);
    ASSERT_TRUE(first.Write(file));
    std::atomic<bool> done{false};
    std::atomic<int> writes{0};
    std::thread host([&] {
        for (int i = 0; i < 100; ++i) {
            writes += (i % 2 ? first : second).Write(file);
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        done = true;
    });
    int reads = 0;
    while (!done) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        HostOptionsRecord record{};
        int error = 0;
        if (ReadOptionsFile(file, record, &error)) {
            EXPECT_TRUE(record == first.Record() || record == second.Record());
            ++reads;
        } else {
            EXPECT_EQ(error, EWOULDBLOCK) << "a read failed for another reason than the host's hold";
        }
    }
    host.join();
    EXPECT_GT(reads, 0);
    EXPECT_GT(writes, 0);
}

}  // namespace
