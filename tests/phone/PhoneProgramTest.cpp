// tessera-phone itself, run as a person runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace {

struct Output {
    int status;
    std::string text;  // standard output and error together
};

Output RunPhone(const std::string& arguments, const std::string& input = "") {
    std::string command = "printf '" + input + "' | " TESSERA_PHONE " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

class PhoneProgramTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string phone = (dir / "phone").string();
};

TEST_F(PhoneProgramTest, InitFillAndInspect) {
    Output init = RunPhone("init " + phone, "s3cret\\n");
    ASSERT_EQ(init.status, 0) << init.text;
    EXPECT_EQ(init.text, "");
    ASSERT_EQ(RunPhone("add-samples " + phone, "s3cret\\n").status, 0);
    ASSERT_EQ(RunPhone("generate " + phone + " --cards 5", "s3cret\\n").status, 0);
    EXPECT_EQ(RunPhone("app " + phone + " start").status, 0);
    EXPECT_EQ(RunPhone("app " + phone + " status").text,
              "{\"installed\":true,\"running\":true,\"version\":\"1.0.1.519\"}\n");
    EXPECT_EQ(RunPhone("app " + phone + " install --version 1.1").status, 0);

    Output inspect = RunPhone("inspect " + phone);
    ASSERT_EQ(inspect.status, 0) << inspect.text;
    nlohmann::json report = nlohmann::json::parse(inspect.text);
    EXPECT_EQ(report["app"], nlohmann::json::parse(R"({"installed":true,"running":false,"version":"1.1"})"));
    ASSERT_EQ(report["files"].size(), 3u);
    EXPECT_EQ(report["files"][2]["name"], "Tessera.dat");
    EXPECT_GT(report["files"][2]["size"], 172);
}

TEST_F(PhoneProgramTest, FailuresAreOneLineAndAnExitStatus) {
    Output empty = RunPhone("init " + phone, "\\n");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.text, "tessera-phone: the wallet password is empty\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "phone" / "fs"));

    ASSERT_EQ(RunPhone("init " + phone + " --no-wallet").status, 0);
    Output again = RunPhone("init " + phone, "s3cret\\n");
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.text, "tessera-phone: " + phone + " already holds a phone\n");
    Output noWallet = RunPhone("add-samples " + phone, "s3cret\\n");
    EXPECT_EQ(noWallet.status, 1);
    EXPECT_EQ(noWallet.text,
              "tessera-phone: cannot open \\Program Files\\Tessera\\Tessera.dat: it is missing or in use\n");
    Output uninstalled = RunPhone("app " + (dir / "none").string() + " start");
    EXPECT_EQ(uninstalled.status, 1);
    EXPECT_EQ(uninstalled.text, "tessera-phone: " + (dir / "none").string() + " is not a phone\n");
}

TEST_F(PhoneProgramTest, WrongPasswordIsExitStatusTwo) {
    ASSERT_EQ(RunPhone("init " + phone, "s3cret\\n").status, 0);
    Output wrong = RunPhone("generate " + phone + " --cards 5", "guess\\n");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.text, "tessera-phone: wrong password for \\Program Files\\Tessera\\Tessera.dat\n");
    EXPECT_EQ(wrong.text.find("guess"), std::string::npos);
}

}  // namespace
