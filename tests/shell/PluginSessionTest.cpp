// The wallet session driven as the windows drive it, on a phone folder made by tessera-phone and
// reached through the folder transport; the windows are answered by a scripted stand-in.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "../host/PhoneFolder.h"
#include "model/ItemChanges.h"
#include "phone/NewStoreFile.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "shell/PluginSession.h"
#include "store/PasswordBytes.h"
#include "support/TestSupport.h"
#include "ui/resources/Resource.h"
#include "ui/rules/LoginAttempts.h"

namespace {

constexpr uint32_t kLockoutRemaining = 0x14;

// The windows and the host as the session sees them. The host answers a request at once, the way
// CPU would deliver it; the login types the scripted passwords through the dialog's own rules.
struct ScriptedViews : SessionViews {
    explicit ScriptedViews(PluginSession& session) : session(session) {}

    void Message(const SessionMessage& message) override { messages.push_back(message); }
    void PostHostExit() override { ++hostExits; }
    void AskHost(uint32_t request, const std::function<bool()>&) override {
        requests.push_back(request);
        if (hostAnswers.empty()) return;
        session.appStatus = hostAnswers.front();
        hostAnswers.pop_front();
        if (session.appStatus == plugin::kAppNotRunning) session.PhoneReady();
    }
    void ReadWithProgress(unsigned, unsigned, const std::function<void()>& work) override {
        std::thread(work).join();
        if (phoneLostDuringRead) session.Reset();
    }
    LoginResult Login(CTesseraEncryptedLinkList& store, CTesseraEncryptedLinkList& templates,
                      const CountedCheck& counted) override {
        ++logins;
        loginOpenSeen = session.loginDialogOpen;
        LoginAttempts rules(&store, &templates, counted);
        while (!typed.empty()) {
            std::u16string password = typed.front();
            typed.pop_front();
            LoginAttempts::Answer answer = rules.Submit(password);
            if (answer == LoginAttempts::Answer::Close) break;
            messages.push_back({IDS_WRONG_PASSWORD, MessageIcon::Stop});
        }
        return {rules.ok, rules.verdict, rules.templatesLocked};
    }
    bool StartLockoutTimer() override { return timerRuns = true; }
    bool StopLockoutTimer() override { return !(timerRuns = false); }
    void ShowList(ListKind kind) override { lists.push_back(kind); }
    void ShowStartPage() override { ++startPages; }
    void SelectRootItem() override { ++rootSelections; }
    void CloseOpenItems() override { ++closes; }
    void EnableEditing(bool) override {}
    bool ListBusy() override { return false; }

    PluginSession& session;
    std::vector<SessionMessage> messages;
    std::vector<uint32_t> requests;
    std::deque<uint32_t> hostAnswers;
    std::deque<std::u16string> typed;
    std::vector<ListKind> lists;
    int hostExits = 0, logins = 0, startPages = 0, rootSelections = 0, closes = 0;
    bool loginOpenSeen = false, timerRuns = false, phoneLostDuringRead = false;
};

class SessionTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(MakePhone(Phone()) && AddCards(Phone(), 25)); }
    static const std::filesystem::path& Phone() {
        static TempDir dir;
        return dir.Path();
    }
    void SetUp() override {
        std::filesystem::copy(Phone(), phone.Path(), std::filesystem::copy_options::recursive);
        RapiSetTransport(std::make_shared<FolderTransport>(phone.Path()));
        session.connectionState = plugin::kStateConnected;
        session.setupKind = plugin::kSetUpPhone;
        session.versionAccepted = 1;
    }
    void TearDown() override {
        session.Reset();
        RapiSetTransport(nullptr);
    }
    std::filesystem::path File(const std::string& name) const {
        return phone.Path() / "fs" / "Program Files" / "Tessera" / name;
    }
    void WrittenAgo(std::chrono::seconds ago) const {
        std::filesystem::last_write_time(File("Options.dat"),
                                         std::filesystem::file_time_type::clock::now() - ago);
    }
    int32_t RemainingOnPhone() const {
        std::vector<uint8_t> bytes = ReadBytes(File("Options.dat"));
        int32_t value = 0;
        std::memcpy(&value, bytes.data() + kLockoutRemaining, sizeof value);
        return value;
    }
    // The phone ready (the application not running), then the page.
    void Open(ListKind page = ListKind::Cards) {
        session.appStatus = plugin::kAppNotRunning;
        session.PhoneReady();
        session.OpenPage(page);
    }
    void Type(std::initializer_list<const char16_t*> passwords) {
        for (const char16_t* password : passwords) views.typed.emplace_back(password);
    }
    std::vector<unsigned> MessageTexts() const {
        std::vector<unsigned> texts;
        for (const SessionMessage& message : views.messages) texts.push_back(message.text);
        return texts;
    }

    TempDir phone;
    CData data;
    DeviceLink link;
    ScriptedViews views{session};  // bound before the session is made, used after
    PluginSession session{data, link, views};
};

TEST_F(SessionTest, TheWholeRoadToTheCardsAndASecondPageThatAsksNothing) {
    session.PhoneReady();  // the host has not yet said whether the application runs
    views.hostAnswers = {plugin::kAppNotRunning};
    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    EXPECT_EQ(views.requests, (std::vector<uint32_t>{plugin::kRequestAppRunning}));
    EXPECT_TRUE(views.loginOpenSeen);
    EXPECT_FALSE(session.loginDialogOpen);
    EXPECT_TRUE(session.loggedIn);
    EXPECT_EQ(data.cardCount(), 25);
    EXPECT_GT(data.templateCount(), 0);
    EXPECT_TRUE(views.messages.empty());

    session.OpenPage(ListKind::Templates);
    EXPECT_EQ(views.logins, 1);
    EXPECT_EQ(views.requests.size(), 1u);
    EXPECT_EQ(views.lists, (std::vector{ListKind::Cards, ListKind::Templates}));
}

TEST_F(SessionTest, ARunningApplicationIsClosedOnlyAfterTheUserWasTold) {
    struct Case {
        uint32_t answer;
        std::vector<unsigned> messages;
        bool listed;
    };
    for (const Case& c : {Case{plugin::kAppNotRunning, {IDS_APP_RUNNING}, true},
                          Case{plugin::kAppCloseFailed, {IDS_APP_RUNNING, IDS_CLOSE_APP_FAILED}, false}}) {
        views.messages.clear();
        views.requests.clear();
        views.lists.clear();
        session.appStatus = plugin::kAppRunning;
        views.hostAnswers = {c.answer};
        Type({u"pass word"});
        session.OpenPage(ListKind::Cards);
        EXPECT_EQ(MessageTexts(), c.messages);
        EXPECT_EQ(views.requests, (std::vector<uint32_t>{plugin::kRequestCloseApp}));
        EXPECT_EQ(views.lists.size(), c.listed ? 1u : 0u);
    }
}

TEST_F(SessionTest, AMissingFileIsNamedAndAMissingWalletEndsTheHost) {
    std::filesystem::rename(File("Tessera.dat"), File("Tessera.dat_1"));  // a restore cut between its moves
    Open();
    EXPECT_EQ(MessageTexts(), std::vector<unsigned>{IDS_READ_FAILED_RESTORE});
    std::filesystem::rename(File("Tessera.dat_1"), File("Tessera.dat"));
    // Each file found stays found for the session, so the wallet file is tested first.
    for (auto [file, text] :
         {std::pair{"Tessera.dat", IDS_WALLET_MISSING}, std::pair{"Templates.dat", IDS_TEMPLATES_MISSING},
          std::pair{"Options.dat", IDS_OPTIONS_MISSING}}) {
        std::filesystem::rename(File(file), File("moved"));
        views.messages.clear();
        Open();
        EXPECT_EQ(MessageTexts(), std::vector<unsigned>{static_cast<unsigned>(text)}) << file;
        EXPECT_FALSE(session.WalletRead());
        std::filesystem::rename(File("moved"), File(file));
    }
    EXPECT_EQ(views.hostExits, 1);
}

TEST_F(SessionTest, AReadFailureOrATemplatesFileOfAnotherPasswordAbandonsTheOpen) {
    std::vector<uint8_t> wallet = ReadBytes(File("Tessera.dat"));
    std::vector<uint8_t> broken = wallet;
    broken.back() ^= 0xFF;  // the checksum no longer matches
    WriteBytes(File("Tessera.dat"), broken);
    Open();
    EXPECT_EQ(MessageTexts(), std::vector<unsigned>{IDS_READ_FAILED_REPAIR}) << "what a cut save leaves";
    EXPECT_FALSE(session.walletRead || session.templatesRead);
    views.messages.clear();
    WriteBytes(File("Tessera.dat.bak"), wallet);  // and beside it, what a cut restore left
    session.OpenPage(ListKind::Cards);
    EXPECT_EQ(MessageTexts(), std::vector<unsigned>{IDS_READ_FAILED_RESTORE});
    std::filesystem::remove(File("Tessera.dat.bak"));
    WriteBytes(File("Tessera.dat"), wallet);

    views.messages.clear();  // another program holds the wallet for longer than the turn-taking waits
    int holder = ::open(File("Tessera.dat").c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &lock), 0);
    session.OpenPage(ListKind::Cards);
    ::close(holder);
    EXPECT_EQ(MessageTexts(), std::vector<unsigned>{IDS_WALLET_IN_USE});

    views.messages.clear();
    std::filesystem::remove(File("Templates.dat"));
    SecureBytes other = PasswordBytes(u"not the built-in one");
    std::string error;
    ASSERT_TRUE(
        CreateStoreFile(File("Templates.dat"), StoreKind::Templates, other.data(), other.size(), error));
    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    EXPECT_EQ(MessageTexts(), std::vector<unsigned>{IDS_READ_FAILED});
    EXPECT_FALSE(session.loggedIn);
    EXPECT_EQ(views.hostExits, 0);
    EXPECT_EQ(ReadBytes(File("Tessera.dat")), wallet);
}

TEST_F(SessionTest, ThreeWrongPasswordsLockTheLoginForTheSettingsMinutesOnThePhone) {
    Type({u"", u"", u"", u"", u"one", u"two", u"three"});
    Open();
    EXPECT_FALSE(session.loggedIn);
    // Four empty OKs count for nothing: two wrong ones are told, the third closes the dialog.
    std::vector<unsigned> told(6, IDS_WRONG_PASSWORD);
    told.push_back(IDS_LOCKOUT_RUNNING);
    EXPECT_EQ(MessageTexts(), told);
    EXPECT_EQ(views.messages.back(), (SessionMessage{IDS_LOCKOUT_RUNNING, MessageIcon::None, 5}));
    EXPECT_EQ(RemainingOnPhone(), 300000);
    EXPECT_TRUE(views.timerRuns);

    // The countdown, a minute a tick, is written to the phone; the lock waits for its end.
    for (int32_t left = 240000; left >= 0; left -= 60000) {
        session.Lock(true, 5);
        EXPECT_EQ(views.rootSelections, 0);
        WrittenAgo(std::chrono::seconds(60));
        session.LockoutTick();
        EXPECT_NEAR(RemainingOnPhone(), left, 1000);
    }
    EXPECT_FALSE(views.timerRuns);
    EXPECT_FALSE(session.lockoutCheckPending);
    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    EXPECT_TRUE(session.loggedIn);
}

// Two wrong passwords another program typed leave the login one; a lockout another program started ends on
// time, counted from the option file's last write.
TEST_F(SessionTest, TheCountAndTheLockoutAreThePhonesForEveryProgram) {
    WriteBytes(File("Logins.dat"), {2, 0, 0, 0});
    Type({u"one", u"pass word"});
    Open();
    EXPECT_EQ(views.messages, (std::vector<SessionMessage>{{IDS_LOCKOUT_RUNNING, MessageIcon::None, 5}}));
    session.Reset();
    WrittenAgo(std::chrono::seconds(299));
    Open();
    EXPECT_EQ(views.messages.back(), (SessionMessage{IDS_LOCKOUT_RUNNING, MessageIcon::Stop, 1}));
    WrittenAgo(std::chrono::seconds(301));
    session.OpenPage(ListKind::Cards);
    EXPECT_TRUE(session.loggedIn);
}

TEST_F(SessionTest, ThePhoneLostDuringTheReadLeavesTheSessionResetNotHalfRead) {
    views.phoneLostDuringRead = true;
    Type({u"pass word"});
    Open();
    EXPECT_EQ(views.logins, 0);
    EXPECT_TRUE(views.lists.empty());
    EXPECT_FALSE(session.WalletRead());
    EXPECT_EQ(data.WalletStore(), nullptr);
    EXPECT_EQ(session.appStatus, plugin::kAppUnknown);
    EXPECT_FALSE(link.RapiInitialized());
    EXPECT_EQ(views.startPages, 1);
}

// A question or a worker holds the session: a lock or a reset waits for its end, a reset instead of a lock.
TEST_F(SessionTest, ALockOrAResetWaitsForTheQuestionOrWorkerThatHoldsTheSession) {
    Type({u"pass word"});
    Open();
    session.Enter();
    session.Lock(false, 5);
    EXPECT_TRUE(session.loggedIn);
    session.Leave();
    EXPECT_EQ(views.closes, 1);
    EXPECT_FALSE(session.loggedIn);

    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    session.Enter();
    session.Lock(true, 0);
    session.Reset();
    EXPECT_NE(data.WalletStore(), nullptr) << "nothing is freed under a question";
    session.Leave();
    EXPECT_EQ(data.WalletStore(), nullptr);
    EXPECT_EQ(views.closes, 1) << "the reset ran instead of the lock";
}

// A card renamed by another program while locked shows renamed after the next login; unchanged, no read.
TEST_F(SessionTest, ANewLoginReadsTheWalletAgainOnlyWhenAnotherProgramChangedIt) {
    Type({u"pass word"});
    Open();
    const CTesseraEncryptedLinkList* read = data.WalletStore();
    session.Lock(true, 0);
    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    EXPECT_EQ(data.WalletStore(), read);

    CData other;  // another program, over the same phone
    other.SetStores(std::make_unique<CTesseraEncryptedLinkList>(data.WalletStore()->Path(), kWalletFileType),
                    nullptr);
    const SecureBytes password = PasswordBytes(u"pass word");
    ASSERT_TRUE(other.WalletStore()->Open() == 0 &&
                other.WalletStore()->CheckPassword(password.data(), password.size()) && other.LoadCards());
    const auto id = static_cast<uint32_t>(other.cards.front().id);
    std::unique_ptr<CTesseraItem> card = other.ReadCardRecord(id);
    SetItemName(*card, u"Renamed elsewhere");
    ASSERT_TRUE(other.UpdateCard(*card, id));
    session.Lock(true, 0);
    Type({u"pass word"});
    session.OpenPage(ListKind::Cards);
    ASSERT_TRUE(session.loggedIn);
    EXPECT_EQ(ItemName(*data.ReadCardRecord(id)), u"Renamed elsewhere");
}

TEST(LoginAttemptsTest, TheTypedPasswordIsWipedAndAnEmptyOneCountsForNothing) {
    LoginAttempts rules(nullptr, nullptr);
    std::u16string empty, typed = u"secret";
    EXPECT_EQ(rules.Submit(empty), LoginAttempts::Answer::Empty);
    EXPECT_EQ(rules.attempts, 0);
    EXPECT_EQ(rules.Submit(typed), LoginAttempts::Answer::Wrong);
    EXPECT_TRUE(typed.empty());
    EXPECT_EQ(rules.attempts, 1);
}

}  // namespace
