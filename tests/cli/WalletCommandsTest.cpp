#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TestSupport.h"
#include "cli/PasswordPrompt.h"
#include "cli/WalletBackups.h"
#include "cli/WalletChanges.h"
#include "cli/WalletImport.h"
#include "cli/WalletQueries.h"
#include "cli/WalletRepair.h"
#include "device/PhoneOptionRecord.h"
#include "phone/PhoneSetup.h"
#include "phone/SampleCards.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/api/RapiTransport.h"
#include "store/PasswordBytes.h"

namespace {

using Command = int (*)(const WalletCommandOptions&, std::istream&, std::ostream&, std::ostream&);

struct Result {
    int status;
    std::string out, err;
};

class WalletCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        SecureBytes password = PasswordBytes(u"open sesame");
        std::string error;
        ASSERT_EQ(InitPhone(phone.Path(), kDefaultInstallPath, &password, error), 0) << error;
        ASSERT_EQ(AddSampleCards(phone.Path(), password, error), 0) << error;
        options.phone.phone = "folder:" + phone.Path().string();
        options.phone.passwordStdin = true;
    }
    void TearDown() override { RapiSetTransport(nullptr); }

    Result Run(Command command, const std::string& password = "open sesame\n") {
        std::istringstream in(password);
        std::ostringstream out, err;
        int status = command(options, in, out, err);
        RapiSetTransport(nullptr);
        return {status, out.str(), err.str()};
    }
    // The command fails with that status and says the text.
    ::testing::AssertionResult Fails(Command command, const std::string& text, int status = 1,
                                     const std::string& input = "open sesame\n") {
        Result result = Run(command, input);
        if (result.status == status && result.err.find(text) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "status " << result.status << ": " << result.err;
    }
    nlohmann::json Json(Command command) {
        options.json = true;
        Result result = Run(command);
        EXPECT_EQ(result.status, 0) << result.err;
        return nlohmann::json::parse(result.out);
    }
    nlohmann::json List() { return Json(ListCards); }
    nlohmann::json Show(uint32_t id) {
        options.id = id;
        return Json(ShowCard);
    }
    // Runs an adding command and gives the new id.
    uint32_t Added(Command command, const std::string& input = "open sesame\n") {
        Result result = Run(command, input);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.status == 0 ? std::stoul(result.out) : 0;
    }
    static std::vector<std::string> Names(const nlohmann::json& rows) {
        std::vector<std::string> names;
        for (const auto& row : rows) names.push_back(row["name"]);
        return names;
    }
    static std::string FieldValue(const nlohmann::json& card, const std::string& name) {
        for (const auto& field : card["fields"])
            if (field["name"] == name) return field["value"];
        return "<missing>";
    }
    // Forgets every option but the phone's.
    void Fresh() {
        PhoneOptions phoneOptions = options.phone;
        options = WalletCommandOptions();
        options.phone = phoneOptions;
    }
    std::filesystem::path InstallFile(const char* name) {
        return phone / "fs" / "Program Files" / "Tessera" / name;
    }

    TempDir phone;
    WalletCommandOptions options;
};

TEST_F(WalletCommandsTest, ListSortsFiltersAndFinds) {
    nlohmann::json all = List();
    ASSERT_GE(all.size(), 5u);
    std::vector<std::string> names = Names(all);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << all.dump();

    options.descending = true;
    std::vector<std::string> descending = Names(List());
    EXPECT_EQ(std::vector<std::string>(descending.rbegin(), descending.rend()), names);
    options.descending = false;

    int32_t category = all[0]["category"];
    options.categoryFilter = category;
    for (const auto& row : List()) EXPECT_EQ(row["category"], category);
    options.categoryFilter.reset();

    options.find = all[1]["name"];
    nlohmann::json found = List();
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0]["name"], all[1]["name"]);
    options.find = "no card holds this text";
    EXPECT_TRUE(List().empty());
}

TEST_F(WalletCommandsTest, ShowMasksPasswordsUnlessRevealed) {
    uint32_t id = 0;
    for (const auto& row : List()) {
        nlohmann::json card = Show(row["id"]);
        for (const auto& field : card["fields"])
            if (field["type"] == "PASSWORD" && !field["value"].get<std::string>().empty()) id = row["id"];
    }
    ASSERT_NE(id, 0u) << "the sample cards hold a password";
    nlohmann::json masked = Show(id);
    options.reveal = true;
    nlohmann::json revealed = Show(id);
    for (size_t i = 0; i < masked["fields"].size(); ++i) {
        if (masked["fields"][i]["type"] != "PASSWORD") continue;
        EXPECT_EQ(masked["fields"][i]["value"], "********");
        EXPECT_NE(revealed["fields"][i]["value"], "********");
    }
}

TEST_F(WalletCommandsTest, AddEditAndRemoveACard) {
    options.blank = true;
    options.sets = {"Login=jo", "Expires=2030-01-31"};
    options.name = "Zeta Club";
    uint32_t id = Added(AddCard);
    nlohmann::json card = Show(id);
    EXPECT_EQ(FieldValue(card, "Name"), "Zeta Club");
    EXPECT_EQ(FieldValue(card, "Login"), "jo");
    EXPECT_EQ(FieldValue(card, "Expires"), "2030-01-31");  // a new field is TEXT

    Fresh();
    options.id = id;
    options.name = "Zulu Club";
    options.icon = 12;
    options.sets = {"Login=joan"};
    ASSERT_EQ(Run(EditCard).status, 0);
    card = Show(id);
    EXPECT_EQ(FieldValue(card, "Name"), "Zulu Club");
    EXPECT_EQ(FieldValue(card, "Login"), "joan");
    EXPECT_EQ(card["icon"], 12);
    EXPECT_EQ(Names(List()).back(), "Zulu Club");

    options.icon = 80;
    EXPECT_TRUE(Fails(EditCard, "--icon"));
    options.icon.reset();
    options.category = 999;
    EXPECT_EQ(Run(EditCard).status, 1);
    options.category.reset();
    options.name = " ";
    EXPECT_TRUE(Fails(EditCard, "--name takes a name that is not blank"));

    size_t before = List().size();
    Fresh();
    options.ids = {id};
    EXPECT_EQ(Run(RemoveCards).status, 0);
    EXPECT_EQ(List().size(), before - 1);
    EXPECT_TRUE(Fails(RemoveCards, "no card with id"));
}

TEST_F(WalletCommandsTest, AddFromATemplateTakesItsFieldsAndCategory) {
    nlohmann::json first = Json(ListTemplates).at(0);
    options.templateId = first["id"].get<uint32_t>();
    options.sets = {"Name=From Template"};
    nlohmann::json card = Show(Added(AddCard));
    EXPECT_EQ(FieldValue(card, "Name"), "From Template");
    EXPECT_EQ(card["category"], first["category"]);
    EXPECT_GT(card["fields"].size(), 1u);

    Fresh();
    options.templateId = 4000;
    EXPECT_EQ(Run(AddCard).status, 1);
    options.templateId.reset();
    EXPECT_EQ(Run(AddCard).status, 1);  // neither --blank nor --template
}

TEST_F(WalletCommandsTest, CategoriesAreAddedRenamedAndRemovedWithOrWithoutTheirCards) {
    options.categoryName = "Hobbies";
    options.icon = 5;
    int32_t id = Added(AddCategory);

    Fresh();
    options.blank = true;
    options.category = id;
    for (int i = 0; i < 2; ++i) ASSERT_EQ(Run(AddCard).status, 0);
    Fresh();
    options.id = static_cast<uint32_t>(id);
    options.categoryName = "Pastimes";
    ASSERT_EQ(Run(RenameCategory).status, 0);
    bool renamed = false;
    for (const auto& category : Json(ListCategories))
        renamed |= category["id"] == id && category["name"] == "Pastimes" && category["icon"] == 5;
    EXPECT_TRUE(renamed);
    options.categoryName = "Pastimes ";
    EXPECT_TRUE(Fails(AddCategory, "another category is named"));
    EXPECT_EQ(Run(RenameCategory).status, 0) << "a category keeps its own name";

    size_t cards = List().size();
    options.categoryName.clear();
    ASSERT_EQ(Run(RemoveCategory).status, 0);
    nlohmann::json after = List();
    EXPECT_EQ(after.size(), cards);  // the cards stay, without a category
    for (const auto& row : after) EXPECT_NE(row["category"], id);
    EXPECT_EQ(Run(RemoveCategory).status, 1);

    for (std::string name : {std::string(64, 'x'), std::string(" \t")}) {
        options.categoryName = name;
        EXPECT_EQ(Run(AddCategory).status, 1);
    }

    // A category's icon comes from the same 80-icon library as a card's.
    options.categoryName = "Garden";
    for (uint32_t icon : {80u, 500u, 70000u}) {
        options.icon = icon;
        for (Command command : {AddCategory, RenameCategory})
            EXPECT_TRUE(Fails(command, "--icon takes 0 to 79")) << icon;
    }

    // With --delete-cards, the cards of the category go with it.
    Fresh();
    nlohmann::json all = List();
    int32_t category = 0;
    for (const auto& row : all) category = std::max<int32_t>(category, row["category"]);
    ASSERT_GT(category, 0);
    auto inCategory =
        std::count_if(all.begin(), all.end(), [&](auto& row) { return row["category"] == category; });
    options.id = static_cast<uint32_t>(category);
    options.deleteCards = true;
    ASSERT_EQ(Run(RemoveCategory).status, 0);
    EXPECT_EQ(List().size(), all.size() - inCategory);
}

TEST_F(WalletCommandsTest, ExportWritesOnlyAnOwnerOnlyFileOfItsOwn) {
    TempDir out;
    std::filesystem::path target = out / "cards.txt";
    options.file = target.string();
    WriteBytes(out / "elsewhere", {'x'});
    std::filesystem::create_symlink(out / "elsewhere", target);
    EXPECT_TRUE(Fails(ExportWallet, "not a regular file"));
    EXPECT_EQ(ReadText(out / "elsewhere"), "x");

    std::filesystem::remove(target);
    WriteBytes(target, {'o', 'l', 'd'});
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
        EXPECT_TRUE(Fails(ExportWallet, "belongs to another user"));
        EXPECT_EQ(ReadText(target), "old");
        ASSERT_EQ(chown(target.c_str(), 0, 0), 0);
    }
    std::filesystem::permissions(target, std::filesystem::perms(0666));
    Result written = Run(ExportWallet);
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_NE(written.err.find("plain text"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::vector<uint8_t> bytes = ReadBytes(target);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], '"');  // UTF-16LE, no byte-order mark
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), 2);  // nothing left beside
}

// A dry run reports and writes nothing; the import adds the readable rows once and fails for the rest;
// refused input writes nothing; the CSV and JSON exports are owner-only like the text one.
TEST_F(WalletCommandsTest, ImportAddsTheReadableRowsAndExportTakesAFormat) {
    TempDir files;
    options.file = (files / "in.csv").string();
    auto write = [](const std::filesystem::path& file, std::string_view text) {
        WriteBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
    };
    write(files / "in.csv", "title,password,folder\nOne,p1,a/Imported\n\xFF,p2,\nTwo,p3,Imported\n");
    const size_t cards = List().size(), categories = Json(ListCategories).size();
    options.dryRun = true;
    Result dry = Run(ImportCards);
    EXPECT_EQ(dry.status, 1);
    EXPECT_NE(dry.out.find("would add 2 cards, 1 new categories, 1 lines skipped"), std::string::npos)
        << dry.out;
    EXPECT_NE(dry.err.find("line 3 skipped: it is not valid UTF-8"), std::string::npos) << dry.err;
    EXPECT_EQ(List().size(), cards);
    options.dryRun = false;
    Result imported = Run(ImportCards);
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.out, "2 cards added, 1 new categories, 1 lines skipped\n");
    EXPECT_EQ(List().size(), cards + 2);
    EXPECT_EQ(Json(ListCategories).size(), categories + 1);

    options.templateId = 999;
    EXPECT_TRUE(Fails(ImportCards, "no template with id 999"));
    options.templateId.reset();
    write(files / "in.json", R"({"format":"tessera-wallet","version":9,"cards":[]})");
    options.file = (files / "in.json").string();
    EXPECT_TRUE(Fails(ImportCards, "a version of the format other than 1"));
    std::filesystem::resize_file(files / "in.json", (64 << 20) + 1);
    EXPECT_TRUE(Fails(ImportCards, "larger than 64 MiB"));
    EXPECT_EQ(List().size(), cards + 2);

    for (const char* format : {"csv", "json"}) {
        options.format = format;
        options.file = (files / format).string();
        Result written = Run(ExportWallet);
        ASSERT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(written.out, std::to_string(cards + 2) + " cards exported to " + options.file + "\n");
        struct stat info {};
        ASSERT_EQ(stat(options.file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    EXPECT_TRUE(ReadText(files / "csv").starts_with("\"name\",\"category\",\"created\",\"modified\","));
    EXPECT_EQ(nlohmann::json::parse(ReadText(files / "json"))["cards"].size(), cards + 2);
}

TEST_F(WalletCommandsTest, SecretsAreTypedNeverGivenOnTheCommandLineAndMustBeUtf8) {
    ASSERT_EQ(prctl(PR_SET_DUMPABLE, 1, 0, 0, 0), 0);
    options.blank = true;
    options.sets = {"Login=jo", "Password="};  // an empty TEXT field, then a secret typed into it
    options.secrets = {"PIN", "Password"};
    uint32_t id = Added(AddCard, "open sesame\n1234\ns3cret\n");
    EXPECT_EQ(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);  // a core dump or gcore would hold the key
    options.reveal = true;
    nlohmann::json card = Show(id);
    EXPECT_EQ(FieldValue(card, "PIN"), "1234");
    EXPECT_EQ(FieldValue(card, "Password"), "s3cret");
    for (size_t i : {2, 3}) EXPECT_EQ(card["fields"][i]["type"], "PASSWORD") << card["fields"][i]["name"];

    Fresh();
    options.id = id;
    for (const char* set :
         {"password=visible", "Wifi Passcode=1", "card-pin=1", "SECRET=x", "MyPassword2=x"}) {
        options.sets = {set};
        EXPECT_TRUE(Fails(EditCard, "use --set-secret")) << set;
    }
    options.sets = {"Pinboard=x", "Login="};
    EXPECT_EQ(Run(EditCard).status, 0);
    options.sets.clear();
    options.secrets = {"Password"};
    EXPECT_EQ(Run(EditCard, "open sesame\n\xff\n").status, 1);  // not UTF-8
    options.reveal = true;
    EXPECT_EQ(FieldValue(Show(id), "Password"), "s3cret");
    int pipe[2];  // the process's standard input is read a byte at a time, what follows left unread
    ASSERT_EQ(::pipe(pipe), 0);
    ASSERT_EQ(::write(pipe[1], "pw\nrest", 7), 7);
    ::close(pipe[1]);
    EXPECT_EQ(ReadPasswordFromFd(pipe[0]), PasswordBytes(u"pw"));
    char rest[8] = {};
    EXPECT_EQ(::read(pipe[0], rest, sizeof rest), 4);
    EXPECT_STREQ(rest, "rest");
    ::close(pipe[0]);
    EXPECT_TRUE(Fails(ListCards, "not valid UTF-8", 1, "open sesame\xe9\n"));
}

// Every wallet command counts wrong passwords on the phone, whatever its state folder; the third starts the
// lockout, which holds for them all until it runs out in real time, from the option file's last write.
TEST_F(WalletCommandsTest, WrongPasswordsCountOnThePhoneForEveryCommand) {
    const std::string wrong = "open sesamE\n";
    EXPECT_EQ(Run(ListCards, wrong).err, "tessera: The password you entered is incorrect!\n");
    EXPECT_EQ(Run(ListCards).status, 0);        // a right one clears the count
    EXPECT_EQ(Run(ListCards, "\n").status, 2);  // an empty one is not counted
    const Command commands[] = {CheckWallet, RepairWallet, ListCards};
    for (Command command : commands) {
        TempDir state;
        ScopedEnv freshState("XDG_STATE_HOME", state.Path().c_str());
        Result result = Run(command, wrong);
        EXPECT_EQ(result.status, command == ListCards ? 3 : 2) << result.err;
        if (command == ListCards) {
            EXPECT_EQ(result.err,
                      "You have entered incorrect password too many times, please retry in 5 minutes.\n");
        }
    }
    EXPECT_EQ(GetU32(ReadBytes(InstallFile("Options.dat")).data() + 20), 300000u);
    for (Command command : commands) EXPECT_EQ(Run(command).status, 3);
    for (int minutesAgo : {2, 6}) {
        std::filesystem::last_write_time(InstallFile("Options.dat"),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::minutes(minutesAgo) - std::chrono::seconds(1));
        Result result = Run(CheckWallet);
        EXPECT_EQ(result.status, minutesAgo == 2 ? 3 : 0) << result.err;
    }
    // A repair that stops before the password (a cut wallet) leaves the count as it was.
    WriteBytes(InstallFile("Logins.dat"), {2, 0, 0, 0});
    std::filesystem::resize_file(InstallFile("Tessera.dat"), 8);
    EXPECT_EQ(Run(RepairWallet).status, 1);
    EXPECT_EQ(ReadBytes(InstallFile("Logins.dat")), (std::vector<uint8_t>{2, 0, 0, 0}));
}

TEST_F(WalletCommandsTest, ARunningApplicationRefusesChangesNotReads) {
    std::string error;
    ASSERT_EQ(SetAppRunning(phone.Path(), true, error), 0) << error;
    options.ids = {1};
    options.id = 1;
    EXPECT_TRUE(Fails(RemoveCards, "Tessera is running on the phone"));
    EXPECT_EQ(Run(ShowCard).status, 0);  // reading is fine
}

TEST_F(WalletCommandsTest, MissingPhoneOrWalletIsAClearError) {
    std::filesystem::rename(InstallFile("Tessera.dat"),
                            InstallFile("Tessera.dat_1"));  // a restore cut between its moves
    EXPECT_NE(Run(ListCards).err.find("A restore did not finish"), std::string::npos);
    EXPECT_NE(Run(CheckWallet).err.find("left Tessera.dat_1; repair keeps Tessera.dat_1"), std::string::npos);
    EXPECT_EQ(Run(RepairWallet).status, 0);
    EXPECT_EQ(Run(CheckWallet).status, 0) << "the wallet is back, and nothing beside it";
    std::filesystem::remove(InstallFile("Templates.dat"));
    EXPECT_EQ(Run(ListCards).err, "tessera: Template.dat not found!\n");
    std::filesystem::remove(InstallFile("Tessera.dat"));
    EXPECT_TRUE(Fails(ListCards, "initialize the password"));
    options.phone.phone = "folder:" + (phone / "nowhere").string();
    EXPECT_TRUE(Fails(ListCards, "does not answer"));
}

TEST_F(WalletCommandsTest, BackupsAreMadeListedRestoredWithTheirOwnPasswordAndRemoved) {
    const std::filesystem::path wallet = phone.Path() / "fs" / "Program Files" / "Tessera" / "Tessera.dat";
    std::vector<uint8_t> old = ReadBytes(wallet);
    EXPECT_TRUE(Run(MakeBackup).out.starts_with("Backup to Backup(Manual)."));
    nlohmann::json list = Json(ListBackups);
    ASSERT_EQ(list.size(), 1u);
    options.backupName = list[0]["name"];
    options.blank = true;
    ASSERT_EQ(Run(AddCard).status, 0);  // the wallet moves on
    EXPECT_EQ(Run(RestoreWallet, "open sesame\nwrong\n").status, kExitWrongPassword);
    EXPECT_EQ(Run(RestoreWallet, "open sesame\nopen sesame\n").status, 0);
    EXPECT_EQ(ReadBytes(wallet), old);
    EXPECT_EQ(Run(RemoveBackup).status, 0);
    // Only what the list shows: another file named like a backup stays.
    WriteBytes(phone.Path() / "fs" / "My Documents" / "Tessera Backup" / "Backup notes.txt", {1});
    options.backupName = "Backup notes.txt";
    EXPECT_EQ(Run(RemoveBackup).err,
              "tessera: no backup named Backup notes.txt (tessera backup list shows them)\n");
}

}  // namespace
