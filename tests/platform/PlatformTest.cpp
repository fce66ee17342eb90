#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>

#include "platform/ByteOrder.h"
#include "platform/HostOptionsFile.h"
#include "platform/LocalTime.h"
#include "platform/PrivateFile.h"
#include "platform/SystemTime.h"
#include "platform/Utf16.h"
#include "support/OptionsRecordBytes.h"
#include "support/TestSupport.h"

namespace {

TEST(SystemTimeTest, TheRecordIsEightLittleEndianWordsAndDaysOfTheWeekCountFromSunday) {
    EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);
    EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
    EXPECT_EQ(DayOfWeek(1899, 12, 31), 0);
    SYSTEMTIME t{2026, 12, 0, 6, 19, 36, 48, 999};
    uint8_t bytes[16];
    StoreTime(t, bytes);
    EXPECT_EQ(GetU16(bytes), 2026);
    EXPECT_EQ(GetU16(bytes + 14), 999);
    SYSTEMTIME back = LoadTime(bytes);
    EXPECT_EQ(back.wSecond, 48);
    EXPECT_EQ(back.wMilliseconds, 999);
    SYSTEMTIME now = GetSystemTimeUtc();
    EXPECT_EQ(now.wDayOfWeek, DayOfWeek(now.wYear, now.wMonth, now.wDay));
}

TEST(Utf16Test, StrictFormsRefuseAndLossyFormsReplaceOnlyWhatIsMalformed) {
    const std::u16string text = u"K\u00E4se \u20AC \U0001F511";
    const std::string utf8 = "K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x94\x91";
    EXPECT_EQ(Utf16ToUtf8(text), utf8);
    EXPECT_EQ(Utf8ToUtf16(utf8), text);
    EXPECT_EQ(Utf8ToUtf16Lossy(utf8), text);
    EXPECT_EQ(Utf16ToUtf8Lossy(text), utf8);
    EXPECT_EQ(Utf8ToUtf16Lossy("a\xFF"
                               "b\xC3"),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8ToUtf16Lossy("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(Utf16ToUtf8Lossy(u"x\xD800y"), "x\xEF\xBF\xBDy");
    for (std::u16string bad : {u"\xDC00", u"a\xD800"}) EXPECT_FALSE(Utf16ToUtf8(bad));
    // Overlong, an encoded surrogate, cut short, past U+10FFFF.
    for (const char* bad : {"a\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(Utf8ToUtf16(bad)) << bad;
}

// Local times in a zone with daylight saving: New York is UTC-5 in winter and UTC-4 in summer.
TEST(LocalTimeTest, StoredUtcTimesShowInLocalTimeAndBack) {
    ScopedEnv zone("TZ", "America/New_York");
    SYSTEMTIME winter{2026, 1, 0, 15, 12, 0, 0, 0};
    SYSTEMTIME summer{2026, 7, 0, 15, 12, 0, 0, 0};
    EXPECT_EQ(FormatLocalDateTime(winter), "2026-01-15 07:00:00");
    EXPECT_EQ(FormatLocalDateTime(summer), "2026-07-15 08:00:00");
    EXPECT_EQ(FormatLocalDate(SYSTEMTIME{2026, 1, 0, 15, 3, 0, 0, 0}), "2026-01-14");
    EXPECT_EQ(FormatLocalTimeOfDay(winter), "07:00:00");
    EXPECT_EQ(FormatLocalDateTime(SYSTEMTIME{2026, 13, 0, 1, 0, 0, 0, 0}), "");

    // and typed local times are stored in UTC.
    auto t = ParseLocalDateTime("2026-07-15 08:30");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->wHour, 12);
    EXPECT_EQ(t->wMinute, 30);
    EXPECT_EQ(t->wDayOfWeek, 3);
    auto midnight = ParseLocalDateTime("2026-01-15");
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->wHour, 5);
    for (const char* bad :
         {"2026-02-30", "2026-01-15 24:00", "2026-01-15 10:61", "15.01.2026", "2026-01-15x"})
        EXPECT_FALSE(ParseLocalDateTime(bad)) << bad;
}

// The locales' date pictures (en_GB, ja_JP with an era year, C's "%D") shown with four-digit years.
TEST(LocalTimeTest, DatePicturesGetFourDigitYears) {
    for (auto [picture, shown] : {std::pair{"%d/%m/%y", "%d/%m/%Y"},
                                  {"%Ey %m %d", "%Y %m %d"},
                                  {"%D.", "%m/%d/%Y."},
                                  {"100%%y %Oy %", "100%%y %Y %"}})
        EXPECT_EQ(WithFourDigitYears(picture), shown) << picture;
    EXPECT_EQ(ShortDatePicture(), "%m/%d/%Y") << "the C locale's";
}

TEST(PrivateFileTest, AFailedWriteLeavesTheFileAsItWasAndNothingBeside) {
    TempDir dir;
    std::filesystem::path file = dir / "out.txt";
    WriteBytes(file, {'o', 'l', 'd'});
    std::string error;
    auto failing = [](int fd) {
        (void)!::write(fd, "half", 4);
        errno = ENOSPC;
        return false;
    };
    EXPECT_FALSE(WritePrivateFile(file, failing, error));
    EXPECT_EQ(error, "No space left on device");
    auto writing = [](int fd) { return ::write(fd, "new", 3) == 3; };
    EXPECT_FALSE(WritePrivateFile(dir / "missing" / "out.txt", writing, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(ReadText(file), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A write ended by a signal removes its new file; one killed outright leaves it to the next write, which
// spares a new file still locked by a write going on and names not its own.
TEST(PrivateFileTest, NoNewFileOutlivesAWriteEndedBySignal) {
    TempDir dir;
    std::filesystem::path file = dir / "out.txt";
    WriteBytes(file, {'o', 'l', 'd'});
    for (int signal : {SIGTERM, SIGINT, SIGUSR1, SIGALRM, SIGKILL}) {
        pid_t child = fork();
        if (child == 0) {
            std::string error;
            auto killed = [signal](int fd) {
                (void)!::write(fd, "secret", 6);
                raise(signal);
                return false;
            };
            WritePrivateFile(file, killed, error);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
                  signal == SIGKILL ? 2 : 1)
            << signal;
    }
    for (const char* name : {".out.txt.12.new", ".out.txt.34.new", ".out.txt.1a.new", ".other.txt.5.new"})
        WriteBytes(dir / name, {'x'});
    int busy = ::open((dir / ".out.txt.34.new").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    std::string error;
    EXPECT_TRUE(WritePrivateFile(
        file, [](int fd) { return ::write(fd, "new", 3) == 3; }, error))
        << error;
    ::close(busy);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        left.insert(entry.path().filename());
    EXPECT_EQ(left,
              (std::set<std::string>{"out.txt", ".out.txt.34.new", ".out.txt.1a.new", ".other.txt.5.new"}));
}

TEST(HostOptionsFile, ReadsExactlyThirtyTwoBytesNothingShorterAndMakesAMissingFile) {
    TempDir dir;
    OptionsFileRecord record{};
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
    OptionsFileRecord record{1, 2, 3, 0x01020304, 5, 6, 7, 0xFFFFFFFF};
    ASSERT_TRUE(WriteOptionsFile(dir / "options.dat", record));
    std::vector<uint8_t> bytes = ReadBytes(dir / "options.dat");
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 16)),
              (std::vector<uint8_t>{4, 3, 2, 1}));
    OptionsFileRecord back{};
    ASSERT_TRUE(ReadOptionsFile(dir / "options.dat", back));
    EXPECT_EQ(back, record);
}

TEST(HostOptionsFile, AFileHeldByAnotherFailsAfterTwoAttempts) {
    TempDir dir;
    WriteBytes(dir / "options.dat", OptionsRecordBytes(9, 0));
    int holder = ::open((dir / "options.dat").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    OptionsFileRecord record{};
    EXPECT_FALSE(ReadOptionsFile(dir / "options.dat", record));
    EXPECT_FALSE(WriteOptionsFile(dir / "options.dat", record));
    ::close(holder);
    EXPECT_TRUE(ReadOptionsFile(dir / "options.dat", record));
    EXPECT_EQ(record[7], 9u);
}

}  // namespace
