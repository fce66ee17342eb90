// tessera-phone itself, run as a person runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace {

ShellResult RunPhone(const std::string& arguments, const std::string& input = "") {
    return RunShell("printf '" + input + "' | " TESSERA_PHONE " " + arguments);
}

class PhoneProgramTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string phone = (dir / "phone").string();
};

TEST_F(PhoneProgramTest, InitFillAndInspect) {
    ShellResult init = RunPhone("init " + phone, "s3cret\\n");
    ASSERT_EQ(init.status, 0) << init.text;
    EXPECT_EQ(init.text, "");
    ASSERT_EQ(RunPhone("add-samples " + phone, "s3cret\\n").status, 0);
    ASSERT_EQ(RunPhone("generate " + phone + " --cards 5", "s3cret\\n").status, 0);
    EXPECT_EQ(RunPhone("app " + phone + " start").status, 0);
    EXPECT_EQ(RunPhone("app " + phone + " install --version 1.1").status, 0);

    ShellResult inspect = RunPhone("inspect " + phone);
    ASSERT_EQ(inspect.status, 0) << inspect.text;
    nlohmann::json report = nlohmann::json::parse(inspect.text);
    EXPECT_EQ(report["app"], nlohmann::json::parse(R"({"installed":true,"running":false,"version":"1.1"})"));
    ASSERT_EQ(report["files"].size(), 3u);
    EXPECT_GT(report["files"][2]["size"], 172);  // the wallet holds cards
}

TEST_F(PhoneProgramTest, FailuresAreOneLineAndAnExitStatusTwoForAWrongPassword) {
    ShellResult empty = RunPhone("init " + phone, "\\n");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.text, "tessera-phone: the wallet password is empty\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "phone" / "fs"));
    ASSERT_EQ(RunPhone("init " + phone, "s3cret\\n").status, 0);
    EXPECT_EQ(RunPhone("init " + phone, "s3cret\\n").status, 1);
    EXPECT_EQ(RunPhone("app " + (dir / "none").string() + " start").status, 1);
    ShellResult wrong = RunPhone("generate " + phone + " --cards 5", "guess\\n");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.text, "tessera-phone: wrong password for \\Program Files\\Tessera\\Tessera.dat\n");
}

}  // namespace
