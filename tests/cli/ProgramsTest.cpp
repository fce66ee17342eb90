// The programs themselves, run as a person runs them.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

TEST(ProgramsTest, NewStoreThenInfoAndDump) {
    TempDir dir;
    std::string wallet = (dir / "Tessera.dat").string();
    std::string newStore = "echo secret | " TESSERA_PHONE " new-store " + wallet + " --type wallet";
    ASSERT_EQ(RunShell(newStore).status, 0);
    ShellResult again = RunShell(newStore);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.text.find("File exists"), std::string::npos) << again.text;

    ShellResult info = RunShell(TESSERA " store info " + wallet);
    EXPECT_EQ(info.text.rfind("{\"code\":0,", 0), 0u) << info.text;
    EXPECT_EQ(RunShell("echo secret | " TESSERA " store dump " + wallet).status, 0);
    EXPECT_EQ(RunShell("echo wrong | " TESSERA " store dump " + wallet).status, 2);
    EXPECT_EQ(RunShell(TESSERA " store info /nonexistent/Tessera.dat").status, 1);
}

}  // namespace
