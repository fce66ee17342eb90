#include "diag/STLogFile.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace {

TEST(STLogFileTest, StartsWithTheThreeHeaderLinesEndsEveryLineWithCrLfAndTheNextRunAppends) {
    TempDir dir;
    {
        CSTLogFile log(dir / "host_log.txt");
        ASSERT_TRUE(log.IsOpen());
        log.Write("/src/store/TesseraEncryptedLinkList.cpp", 77, "Critical Error: %s", "TesseraFileAccess");
    }
    auto lines = LogLines(dir / "host_log.txt");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(45, '=') + "\r");
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex(R"(Log is started on \d\d\.\d\d\.\d{4}, at \d\d:\d\d:\d\d:\d{3}\r)")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(
        lines[2], std::regex(R"(Executable: /.+ \(ProcID: 0x[0-9a-f]{8}\), compile time: .+\r)")))
        << lines[2];
    EXPECT_TRUE(std::regex_match(
        lines[3], std::regex(R"(\d\d:\d\d:\d\d\(\d+\) thr 0x[0-9A-F]{8} : Critical Error: TesseraFileAccess)"
                             R"(\t\(from TesseraEncryptedLinkList\.cpp,77\)\r)")))
        << lines[3];
    EXPECT_NE(lines[4].find("Log finished"), std::string::npos);

    { CSTLogFile(dir / "host_log.txt").Write("a.cpp", 1, "second run"); }
    lines = LogLines(dir / "host_log.txt");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_NE(lines[3].find("TesseraFileAccess"), std::string::npos);
    EXPECT_NE(lines[8].find("second run"), std::string::npos);
}

// Over 1 MiB the log becomes NAME.1, whether found so at the start or grown so while written.
TEST(STLogFileTest, ALogOverOneMebibyteIsRotated) {
    TempDir dir;
    std::filesystem::path file = dir / "log.txt", older = dir / "log.txt.1";
    WriteBytes(file, std::vector<uint8_t>((1 << 20) + 1, 'o'));
    WriteBytes(older, {'x'});
    CSTLogFile log(file);
    ASSERT_TRUE(log.IsOpen());
    EXPECT_EQ(std::filesystem::file_size(older), (1u << 20) + 1);
    EXPECT_EQ(LogLines(file).size(), 3u);
    const std::string line(900, 'n');
    for (int i = 0; i < 1300; ++i) log.Write("a.cpp", i, "%s", line.c_str());  // about 1.2 MiB
    EXPECT_GT(std::filesystem::file_size(older), 1u << 20);
    EXPECT_EQ(LogLines(older)[0].substr(0, 46), std::string(45, '=') + "\r");
    EXPECT_LT(std::filesystem::file_size(file), 1u << 19);
    EXPECT_EQ(LogLines(file)[0], std::string(45, '=') + "\r");
}

TEST(STLogFileTest, DropsMessagesAndLinesLongerThan1023Characters) {
    TempDir dir;
    CSTLogFile log(dir / "log.txt");
    log.Write("a.cpp", 1, "%s", std::string(1024, 'x').c_str());
    log.Write("a.cpp", 2, "%s", std::string(1000, 'y').c_str());  // the message fits, the line does not
    log.Write("a.cpp", 3, "%s", std::string(900, 'z').c_str());
    auto lines = LogLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[3].find(std::string(900, 'z')), std::string::npos);
    EXPECT_NE(lines[3].find("(from a.cpp,3)"), std::string::npos);
}

TEST(STLogFileTest, CreatesAMissingFolderAndWithoutOneLogsNothingAndGoesOn) {
    TempDir dir;
    EXPECT_TRUE(CSTLogFile(dir / "a" / "b" / "log.txt").IsOpen());
    WriteBytes(dir / "plain-file", {1});
    CSTLogFile log(dir / "plain-file" / "state" / "log.txt");
    EXPECT_FALSE(log.IsOpen());
    log.Write("a.cpp", 1, "nothing to see");
    EXPECT_FALSE(std::filesystem::exists(dir / "plain-file" / "state"));
}

TEST(STLogFileTest, LinesFromManyThreadsNeverInterleave) {
    TempDir dir;
    {
        CSTLogFile log(dir / "log.txt");
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&log, t] {
                for (int i = 0; i < 250; ++i) log.Write("w.cpp", i, "thread %d line %d %s", t, i, "payload");
            });
        }
        for (auto& thread : threads) thread.join();
    }
    auto lines = LogLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 3u + 1000u + 1u);
    std::regex line(
        R"(\d\d:\d\d:\d\d\(\d+\) thr 0x[0-9A-F]{8} : thread \d line \d+ payload\t\(from w\.cpp,\d+\)\r)");
    std::set<std::string> threadIds;
    for (size_t i = 3; i < 1003; ++i) {
        ASSERT_TRUE(std::regex_match(lines[i], line)) << lines[i];
        threadIds.insert(lines[i].substr(lines[i].find("thr "), 14));
    }
    EXPECT_EQ(threadIds.size(), 4u);
}

TEST(STLogFileTest, DefaultPathFollowsTheStateFolderAndTheExecutablesName) {
    ScopedEnv state("XDG_STATE_HOME", "/state"), home("HOME");
    EXPECT_EQ(CSTLogFile::DefaultPath("/usr/bin/pocketdeck"), "/state/pocketdeck_log.txt");
    EXPECT_EQ(CSTLogFile::DefaultPath("/opt/a.b/host.bin.exe"), "/state/host.bin_log.txt");
    state.Set(nullptr);
    home.Set("/home/u");
    EXPECT_EQ(CSTLogFile::DefaultPath("/x/tessera"), "/home/u/.local/state/tessera_log.txt");
}

}  // namespace
