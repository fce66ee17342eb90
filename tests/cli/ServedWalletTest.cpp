// The wallet commands end to end: the real programs over a real `tessera-phone serve`.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "../rapi/AgentProcess.h"
#include "TestSupport.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/phone/FolderFileSystem.h"
#include "store/StoreFormat.h"

namespace {

using ::testing::HasSubstr;

class ServedWalletTest : public ::testing::Test {
protected:
    void SetUp() override {
        phone = dir / "phone";
        ASSERT_EQ(RunShell("echo 'pass word' | " TESSERA_PHONE " init " + phone.string()).status, 0);
        ASSERT_EQ(RunShell("echo 'pass word' | " TESSERA_PHONE " add-samples " + phone.string()).status, 0);
        agent = std::make_unique<AgentProcess>(phone, dir / "link" / "phone.sock");
        ASSERT_TRUE(agent->Serving());
    }

    // A wallet command over the agent, with the password on standard input.
    std::string CommandLine(const std::string& arguments, const std::string& password) {
        return "echo '" + password + "' | " TESSERA " " + arguments +
               " --phone unix:" + (dir / "link" / "phone.sock").string() + " --password-stdin";
    }
    ShellResult Tessera(const std::string& arguments, const std::string& password = "pass word") {
        return RunShell(CommandLine(arguments, password));
    }

    // Runs the commands at once, in the background; the shell prints "failed STATUS" for each that fails.
    ShellResult AllAtOnce(const std::vector<std::string>& commands,
                          const std::string& password = "pass word") {
        std::string script;
        for (const std::string& command : commands)
            script += "(" + CommandLine(command, password) + " >/dev/null 2>&1 || echo failed $?) & ";
        return RunShell(script + "wait");
    }

    std::vector<int> CardIds() {
        std::vector<int> ids;
        for (const auto& card : nlohmann::json::parse(Tessera("list --json").text)) ids.push_back(card["id"]);
        return ids;
    }

    TempDir dir;
    std::filesystem::path phone;
    std::unique_ptr<AgentProcess> agent;
};

TEST_F(ServedWalletTest, CommandsStartedTogetherTakeTurnsAndAllGetThrough) {
    EXPECT_EQ(AllAtOnce(std::vector<std::string>(10, "list")).text, "");
    std::vector<int> ids = CardIds();
    ASSERT_GE(ids.size(), 8u);
    ids.resize(8);
    std::vector<std::string> edits;
    for (int id : ids)
        edits.push_back("edit " + std::to_string(id) + " --name Renamed-" + std::string(id, 'x'));
    EXPECT_EQ(AllAtOnce(edits).text, "");
    std::string listed = Tessera("list --json").text;
    for (int id : ids)
        EXPECT_NE(listed.find("Renamed-" + std::string(id, 'x') + "\""), std::string::npos) << id;
}

// Twenty wrong passwords at once: two told wrong, the third starts the lockout, seventeen refused unchecked.
TEST_F(ServedWalletTest, TwentyWrongPasswordsAtOnceHaveThreeChecked) {
    std::string told = AllAtOnce(std::vector<std::string>(20, "list"), "not it").text;
    EXPECT_EQ(std::count(told.begin(), told.end(), '2'), 2) << told;  // one "failed STATUS" line a run
    EXPECT_EQ(std::count(told.begin(), told.end(), '3'), 18) << told;
}

// Another program on this computer holds the wallet (as `--phone folder:` does while it writes): the
// served phone refuses the agent's open, and the command says why once its turn does not come.
TEST_F(ServedWalletTest, AWalletHeldByAnotherProgramIsReportedAsInUse) {
    FolderFileSystem elsewhere(phone / "fs");
    OpenedFile held;
    ASSERT_EQ(elsewhere.Open(u"\\Program Files\\Tessera\\Tessera.dat", GENERIC_READ | GENERIC_WRITE, 0,
                             OPEN_EXISTING, &held),
              ERROR_SUCCESS);
    ShellResult list = Tessera("list");
    EXPECT_EQ(list.status, 1);
    EXPECT_THAT(list.text, HasSubstr("The wallet is in use by another program on this computer; try again."));
    held = {};
    EXPECT_EQ(Tessera("list").status, 0);
}

TEST_F(ServedWalletTest, EveryCommandOverTheSocket) {
    size_t cards = CardIds().size();
    ASSERT_GT(cards, 0u);
    ShellResult added = Tessera("add --blank --name Zebra --set Login=z --icon 3");
    ASSERT_EQ(added.status, 0) << added.text;
    std::string id = added.text.substr(0, added.text.find('\n'));
    EXPECT_EQ(Tessera("edit " + id + " --set Login=zz").status, 0);
    EXPECT_NE(Tessera("show " + id + " --json").text.find("\"zz\""), std::string::npos);
    EXPECT_EQ(CardIds().size(), cards + 1);

    ShellResult category = Tessera("category add Garden --icon 4");
    ASSERT_EQ(category.status, 0) << category.text;
    std::string categoryId = category.text.substr(0, category.text.find('\n'));
    EXPECT_EQ(Tessera("category rename " + categoryId + " Yard").status, 0);
    EXPECT_NE(Tessera("categories").text.find("Yard"), std::string::npos);
    EXPECT_EQ(Tessera("category rm " + categoryId).status, 0);
    EXPECT_EQ(Tessera("export " + (dir / "cards.txt").string()).status, 0);
    EXPECT_EQ(Tessera("rm " + id).status, 0);
    EXPECT_EQ(CardIds().size(), cards);
}

// A delete cut after its mark reached the phone leaves a stale checksum: the wallet no longer opens until
// `tessera repair` mends it over the link, after a copy of the file beside it. A flipped length bit is no
// cut save: repair leaves the file alone, and --salvage keeps every card.
TEST_F(ServedWalletTest, RepairMendsACutSaveAndSalvagesOnlyWhenAsked) {
    std::filesystem::path wallet = phone / "fs" / "Program Files" / "Tessera" / "Tessera.dat";
    size_t cards = CardIds().size();
    std::vector<uint8_t> bytes = ReadBytes(wallet);
    const size_t first = kStoreHeaderSize + 4 + GetU32(bytes.data() + kStoreHeaderSize) + 32;
    std::vector<uint8_t> flipped = bytes;
    flipped[first + 12 + 2] ^= 0x10;  // the first record's length word
    WriteBytes(wallet, flipped);
    ShellResult refused = Tessera("repair");
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.text, HasSubstr("not as a cut save leaves it; nothing was changed. --salvage"));
    EXPECT_EQ(ReadBytes(wallet), flipped);
    ShellResult salvaged = Tessera("repair --salvage");
    ASSERT_EQ(salvaged.status, 0) << salvaged.text;
    EXPECT_THAT(salvaged.text, HasSubstr("Tessera.dat: salvaged " + std::to_string(cards) + " records"));
    EXPECT_EQ(CardIds().size(), cards);
    size_t copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(wallet.parent_path()))
        copies += entry.path().filename().string().starts_with("Tessera.dat.repair-") &&
                  std::filesystem::remove(entry.path());
    EXPECT_EQ(copies, 1u);

    PutU32(bytes.data() + first, 1);  // the delete's mark
    WriteBytes(wallet, bytes);
    EXPECT_EQ(Tessera("list").status, 1);
    ShellResult checked = Tessera("check");
    EXPECT_EQ(checked.status, 1);
    EXPECT_THAT(checked.text, HasSubstr("Tessera.dat: a cut save left: checksum"));
    EXPECT_EQ(Tessera("repair", "not the password").status, 2);
    ShellResult repaired = Tessera("repair");
    ASSERT_EQ(repaired.status, 0) << repaired.text;
    EXPECT_THAT(repaired.text, AllOf(HasSubstr("Tessera.dat: repaired"), HasSubstr("Templates.dat: sound")));
    EXPECT_EQ(CardIds().size(), cards - 1);
    EXPECT_EQ(Tessera("check").status, 0);
}
}  // namespace
