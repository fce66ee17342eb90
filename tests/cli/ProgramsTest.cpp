// The programs themselves, run as a person runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "TestSupport.h"

namespace {

TEST(ProgramsTest, NewStoreThenInfoAndDump) {
    TempDir dir;
    std::string wallet = (dir / "Tessera.dat").string();
    ShellResult created = RunShell("echo secret | " TESSERA_PHONE " new-store " + wallet + " --type wallet");
    ASSERT_EQ(created.status, 0) << created.text;
    ShellResult again = RunShell("echo secret | " TESSERA_PHONE " new-store " + wallet + " --type wallet");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.text.find("File exists"), std::string::npos) << again.text;

    ShellResult info = RunShell(TESSERA " store info " + wallet);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.text.rfind("{\"code\":0,", 0), 0u) << info.text;
    EXPECT_EQ(RunShell("echo secret | " TESSERA " store dump " + wallet).status, 0);
    ShellResult wrong = RunShell("echo wrong | " TESSERA " store dump " + wallet);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.text, "tessera: wrong password\n");
}

TEST(ProgramsTest, UsageErrorsAreOneClearMessage) {
    ShellResult noFile = RunShell(TESSERA " store info");
    EXPECT_NE(noFile.status, 0);
    EXPECT_NE(noFile.text.find("FILE is required"), std::string::npos) << noFile.text;
    ShellResult missing = RunShell(TESSERA " store info /nonexistent/Tessera.dat");
    EXPECT_EQ(missing.status, 1);
    ShellResult badType = RunShell(TESSERA_PHONE " new-store /tmp/x.dat --type phonebook");
    EXPECT_NE(badType.status, 0);
}

}  // namespace
