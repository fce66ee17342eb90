#include <gtest/gtest.h>

#include <functional>

#include "ModelFixture.h"
#include "model/CardExport.h"
#include "model/CsvCards.h"
#include "model/IsoTime.h"
#include "model/WalletJson.h"
#include "platform/Utf16.h"
#include "store/StoreRepair.h"

namespace {

// Each row's line and cells joined by "|", then each problem as "!line".
std::string Rows(std::string_view text) {
    CsvTable table = CsvTable::Read(text);
    std::string out;
    for (const CsvRow& row : table.rows) {
        out += std::to_string(row.line) + ":";
        for (size_t i = 0; i < row.cells.size(); ++i) out += (i ? "|" : "") + row.cells[i];
        out += " ";
    }
    for (const CsvProblem& problem : table.problems) out += "!" + std::to_string(problem.line) + " ";
    return out;
}

TEST(CsvTableTest, ReadsWhatBrowsersAndManagersWrite) {
    struct Case {
        const char* text;
        const char* rows;
    } cases[] = {
        {"a,b\r\n\"x,\"\"y\"\"\",z\r\n", "1:a|b 2:x,\"y\"|z "},
        {"\xEF\xBB\xBFtitle\n\"two\nlines\"\nnext\n", "1:title 2:two\nlines 4:next "},
        {"a,b,c\n1,,\n\n2\n3,4,5,6", "1:a|b|c 2:1|| 4:2 5:3|4|5|6 "},  // empty trailing, ragged, blank
        {" lead, trail \n", "1: lead| trail  "},                       // spaces are values
        {"ok\n\xFF\xFE,1\nbad\"quote\nlast\n", "1:ok 4:last !2 !3 "},
        {"ok\n\"open\n", "1:ok !2 "},
    };
    for (const Case& c : cases) EXPECT_EQ(Rows(c.text), c.rows) << c.text;
    EXPECT_EQ(CsvQuoted("a\"b,\nc"), "\"a\"\"b,\nc\"");
}

TEST(IsoTimeTest, ReadsIsoAndEpochTimesAsUtc) {
    struct Case {
        const char* text;
        const char* iso;  // "" for refused
    } cases[] = {
        {"2023-04-05T06:07:08Z", "2023-04-05T06:07:08.000Z"},
        {"2023-04-05 06:07", "2023-04-05T06:07:00.000Z"},
        {"2023-04-05T06:07:08.123456", "2023-04-05T06:07:08.123Z"},
        {"2023-04-05", "2023-04-05T00:00:00.000Z"},
        {"1680674828", "2023-04-05T06:07:08.000Z"},
        {"1680674828123", "2023-04-05T06:07:08.123Z"},
        {"2023-02-30", ""},
        {"2023-04-05T06", ""},
        {"2023-04-05T06:07:08+02:00", ""},
        {"yesterday", ""},
    };
    for (const Case& c : cases) {
        std::optional<SYSTEMTIME> time = ParseIsoTime(c.text);
        EXPECT_EQ(time ? FormatIsoTime(*time) : "", c.iso) << c.text;
    }
}

class CardImportTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        CTesseraItem login;
        AddField(login, u"Name", u"Web Login");
        for (auto [type, name] : {std::pair{kFieldText, u"User name"},
                                  {kFieldPassword, u"Password"},
                                  {kFieldUrl, u"Web site"},
                                  {kFieldEmail, u"E-mail"}})
            AddEmptyField(login, name, type);
        ASSERT_TRUE(data.AddTemplate(login, data.TakeTemplateId()));
        ASSERT_TRUE(data.AddCategory(u"Work", PackCategory(data.TakeCategoryId(), 5)));
    }

    // Each card as "name [category]" and its filled fields as "name:TYPE=value".
    static std::string Cards(ImportPlan&& plan) {
        std::string out;
        for (size_t i = 0; i < plan.cards.size(); ++i) {
            out += Utf16ToUtf8Lossy(ItemName(plan.Card(i))) + " [" +
                   Utf16ToUtf8Lossy(plan.cards[i].category) + "]";
            for (auto* node = plan.Card(i).fields.head->next; node; node = node->next) {
                if (node->element.length() <= 2) continue;
                out += " " + Utf16ToUtf8Lossy(node->element.Name()) + ":" +
                       Utf16ToUtf8Lossy(std::u16string(FieldTypeName(node->element.type))) + "=" +
                       Utf16ToUtf8Lossy(FieldText(node->element));
            }
            out += "\n";
        }
        return out;
    }

    std::string Json() {
        size_t written = 0, unreadable = 0;
        SecureBytes bytes = WalletToJson(data, written, unreadable);
        EXPECT_EQ(unreadable, 0u);
        return std::string(bytes.begin(), bytes.end());
    }

    std::vector<std::string> CardNames(CData& model) {
        std::vector<std::string> names;
        for (const card_info_struct& row : model.cards) names.push_back(Utf16ToUtf8Lossy(row.name));
        return names;
    }
};

// The header shapes of common exports; every value lands in a field, e-mail user names in E-MAIL ones.
TEST_F(CardImportTest, HeaderShapesOfCommonExportsMapEveryValue) {
    struct Case {
        const char* csv;
        const char* cards;
    } cases[] = {
        {"name,url,username,password,note\nMail,https://m.example.org,ann@example.org,pw1,hi\n",
         "Mail [] Password:PASSWORD=pw1 Web site:URL=https://m.example.org E-mail:E-MAIL=ann@example.org "
         "note:TEXT=hi\n"},
        {"\"url\",\"username\",\"password\",\"httpRealm\",\"timeCreated\"\n"
         "\"https://user@www.site.example:8080/a\",\"bob\",\"pw2\",\"realm\",\"1680674828123\"\n",
         "www.site.example [] User name:TEXT=bob Password:PASSWORD=pw2 Web "
         "site:URL=https://user@www.site.example:"
         "8080/a httpRealm:TEXT=realm\n"},
        {"folder,favorite,type,name,notes,login_uri,login_username,login_password\n"
         "Home/Shop,1,login,Store,n,https://s.example,carl,pw3\n",
         "Store [Shop] User name:TEXT=carl Password:PASSWORD=pw3 Web site:URL=https://s.example "
         "favorite:TEXT=1 type:TEXT=login notes:TEXT=n\n"},
        {"Group,Title,User Name,Password,Web Site,Comments,Last Modified\n"
         "Root/Work/,SSH,root,pw4,,c,not a time\n,,,,,,\n,,dan,pw5,,,\n",
         "SSH [Work] User name:TEXT=root Password:PASSWORD=pw4 Comments:TEXT=c Last Modified:TEXT=not a "
         "time\n"
         "Imported 2 [] User name:TEXT=dan Password:PASSWORD=pw5\n"},
        {"title,password,pass\nA,1,2,extra\n",
         "A [] Password:PASSWORD=1 pass:PASSWORD=2 Column 4:TEXT=extra\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cards(CsvImportPlan(data, c.csv, DefaultImportTemplate(data))), c.cards) << c.csv;
    ImportPlan plain = CsvImportPlan(data, "login,password\neve@example.org,pw\n", 0xFFFFFFFF);
    EXPECT_EQ(Cards(std::move(plain)), "Imported 1 [] login:E-MAIL=eve@example.org password:PASSWORD=pw\n");
    ImportPlan timed = CsvImportPlan(data, "title,created,modified\nT,2022-01-02T03:04:05Z,1680674828\n", 0);
    EXPECT_EQ(FormatIsoTime(timed.Card(0).created), "2022-01-02T03:04:05.000Z");
    EXPECT_EQ(FormatIsoTime(timed.Card(0).modified), "2023-04-05T06:07:08.000Z");
}

// Missing categories are made once each, by the last element of their path; a category the wallet has is
// used; a category given for the import overrides the file's.
TEST_F(CardImportTest, CategoriesAreMadeOnceAndReused) {
    ASSERT_TRUE(data.AddCategory(u"", PackCategory(data.TakeCategoryId(), 0)));  // no card's by default
    ImportPlan plan = CsvImportPlan(data, "title,group\nA,x/New\nB,Work\nC,New\nD,\n", 0xFFFFFFFF);
    EXPECT_EQ(MissingCategories(data, plan), std::vector<std::u16string>{u"New"});
    ImportResult result = ApplyImport(data, plan);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.categoriesAdded, 1u);
    EXPECT_EQ(ApplyImport(data, plan).added, 0u);  // applied again, it goes on from where it stopped
    auto reloaded = Reloaded();
    ASSERT_EQ(reloaded->categoryCount(), 3);
    std::vector<int32_t> categories;
    for (const card_info_struct& row : reloaded->cards) categories.push_back(row.category);
    EXPECT_EQ(categories, (std::vector<int32_t>{3, 1, 3, 0}));
    ImportPlan forced = CsvImportPlan(data, "title,group\nE,Other\n", 0xFFFFFFFF);
    forced.category = 0;
    EXPECT_TRUE(MissingCategories(data, forced).empty());
    EXPECT_TRUE(ApplyImport(data, forced).complete);
    EXPECT_EQ(data.cards.back().category, 0);
}

// Our JSON export, imported into a wallet emptied of cards and of the categories they use, gives the same
// document back: every type, icon, category, time and draft flag.
TEST_F(CardImportTest, JsonExportImportsBackExactly) {
    auto card = Card(u"Bank", 1, 17);
    card->draft = 1;
    card->created = Time(2001, 2, 3, 4, 5, 6);
    card->modified = Time(2002, 3, 4, 5, 6, 7);
    for (uint32_t type = kFieldText; type <= kFieldEmail; ++type)
        AddField(*card, u"F" + Utf8ToUtf16Lossy(std::to_string(type)), u"v\"\n,é", type);
    AddTimeField(*card, u"Date", Time(2009, 1, 31, 23, 30), kFieldDate);
    AddTimeField(*card, u"Time", Time(2010, 5, 6, 7, 8, 9), kFieldTime);
    AddEmptyField(*card, u"Empty");
    AddField(*card, u"Odd", u"x", 42);
    ASSERT_TRUE(data.AddCard(*card, data.TakeCardId()));
    AddCard(u"Plain");
    std::string before = Json();
    while (!data.cards.empty()) ASSERT_TRUE(data.DeleteCard(static_cast<uint32_t>(data.cards[0].id)));
    ASSERT_TRUE(data.DeleteCategory(1));
    ImportPlan plan;
    std::string error;
    ASSERT_TRUE(JsonImportPlan(before, plan, error)) << error;
    EXPECT_TRUE(plan.skipped.empty());
    EXPECT_TRUE(ApplyImport(data, plan).complete);
    EXPECT_EQ(data.categories.at(0).icon, 5);
    std::string after = Json();
    EXPECT_EQ(after.replace(after.find("\"name\": \"Work\""), 0, ""), before);
}

TEST_F(CardImportTest, JsonThatDoesNotFitIsRefusedOrSkipped) {
    const std::string card = R"({"fields":[{"name":"Name","value":"A"}]})";
    struct Case {
        std::string text;
        const char* outcome;  // "error", or the numbers of the cards skipped
    } cases[] = {
        {"[1,2]", "error"},
        {R"({"format":"tessera-wallet","version":2,"cards":[]})", "error"},
        {R"({"format":"tessera-wallet","version":1,"cards":[)" + card + "]", "error"},
        {R"({"format":"tessera-wallet","version":1,"categories":[{"name":7}],"cards":[)" + card +
             R"(,{"fields":[{"name":"Name","type":"colour"}]},{"icon":-1,"fields":[]},)" +
             R"({"fields":[{"name":")" + std::string(64, 'n') + R"("}]},{"created":"now","fields":[]},)" +
             R"({"fields":[{"name":"D","type":"date","value":"soon"}]},)" + card + "]}",
         "2 3 4 5 6 "},
    };
    for (const Case& c : cases) {
        ImportPlan plan;
        std::string error, skipped;
        bool read = JsonImportPlan(c.text, plan, error);
        for (const CsvProblem& problem : plan.skipped) skipped += std::to_string(problem.line) + " ";
        EXPECT_EQ(read ? skipped : "error", c.outcome) << c.text;
        EXPECT_EQ(plan.cards.size(), read ? 2u : 0u) << c.text;
    }
}

// A link cut at any call of the batched saves of a long import, or a write that comes up short, leaves a
// wallet that opens, once repaired if need be, with the cards before it in their order: every card the
// import counted and at most the rest of the batch it cut.
TEST_F(CardImportTest, ACutLinkLeavesAPrefixOfTheImport) {
    std::string csv = "title\n";
    for (int i = 1; i <= 1000; ++i) csv += "Card " + std::to_string(i) + "\n";
    AddCard(u"Card 0");
    const std::vector<uint8_t> walletBefore = Bytes();
    faults->ResetCounters();
    ImportPlan whole = CsvImportPlan(data, csv, 0xFFFFFFFF);
    ASSERT_TRUE(ApplyImport(data, whole).complete);
    std::vector<std::function<void()>> cuts;
    for (uint64_t call = 1; call <= faults->TotalCalls(); ++call)
        cuts.push_back([this, call] { faults->CutAt(call); });
    for (uint64_t write = 1; write <= faults->Calls(RapiOp::WriteFile); ++write)
        cuts.push_back([this, write] { faults->ShortWrite(write, 5000); });
    bool cutInsideABatch = false;
    for (size_t cut = 0; cut < cuts.size(); ++cut) {
        WriteBytes(File(), walletBefore);
        data.Reset();
        Open(data);
        ImportPlan plan = CsvImportPlan(data, csv, 0xFFFFFFFF);
        cuts[cut]();
        bool complete = ApplyImport(data, plan).complete;
        faults->Disarm();
        connection.reset();  // as a new run of a program: the cut one's files are closed
        connection = std::make_unique<RapiConnection>();
        std::string report;
        if (Reopen() != 0) {
            EXPECT_EQ(
                RepairStoreFile(u"\\Tessera.dat", kWalletFileType, password, GetSystemTimeUtc(), report),
                RepairResult::kRepaired)
                << "cut " << cut << ": " << report;
        }
        std::vector<std::string> names = CardNames(*Reloaded());
        ASSERT_GE(names.size(), plan.done + 1) << "cut " << cut;
        EXPECT_LE(names.size(), complete ? 1001 : plan.done + 501) << "cut " << cut;
        cutInsideABatch |= names.size() % 500 != 1;
        for (size_t i = 0; i < names.size(); ++i) ASSERT_EQ(names[i], "Card " + std::to_string(i)) << cut;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().starts_with("Tessera.dat.repair-"))
                std::filesystem::remove(entry.path());
    }
    EXPECT_TRUE(cutInsideABatch);
}

}  // namespace
