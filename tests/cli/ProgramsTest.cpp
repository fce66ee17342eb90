// The programs themselves, run as a person runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "TestSupport.h"

namespace {

struct Output {
    int status;
    std::string text;
};

Output Shell(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

TEST(ProgramsTest, NewStoreThenInfoAndDump) {
    TempDir dir;
    std::string wallet = (dir / "Tessera.dat").string();
    Output created = Shell("echo secret | " TESSERA_PHONE " new-store " + wallet + " --type wallet");
    ASSERT_EQ(created.status, 0) << created.text;
    Output again = Shell("echo secret | " TESSERA_PHONE " new-store " + wallet + " --type wallet");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.text.find("File exists"), std::string::npos) << again.text;

    Output info = Shell(TESSERA " store info " + wallet);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.text.rfind("{\"code\":0,", 0), 0u) << info.text;
    EXPECT_EQ(Shell("echo secret | " TESSERA " store dump " + wallet).status, 0);
    Output wrong = Shell("echo wrong | " TESSERA " store dump " + wallet);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.text, "tessera: wrong password\n");
}

TEST(ProgramsTest, UsageErrorsAreOneClearMessage) {
    Output noFile = Shell(TESSERA " store info");
    EXPECT_NE(noFile.status, 0);
    EXPECT_NE(noFile.text.find("FILE is required"), std::string::npos) << noFile.text;
    Output missing = Shell(TESSERA " store info /nonexistent/Tessera.dat");
    EXPECT_EQ(missing.status, 1);
    Output badType = Shell(TESSERA_PHONE " new-store /tmp/x.dat --type phonebook");
    EXPECT_NE(badType.status, 0);
}

}  // namespace
