// The wallet store over the socket: an agent that goes away in the middle of an open or a save leaves the
// caller with a clean failure and the file as the store left it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <iostream>

#include "AgentProcess.h"
#include "RapiContract.h"
#include "RunningAgent.h"
#include "StandInAgents.h"
#include "phone/CardBuilder.h"
#include "phone/NewStoreFile.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/client/SocketTransport.h"
#include "store/PasswordBytes.h"
#include "store/StoreRepair.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

constexpr char16_t kWallet[] = u"\\Tessera.dat";

std::unique_ptr<CardBuilder> Card(std::u16string_view name, std::u16string_view user) {
    auto card = std::make_unique<CardBuilder>(name, 1, 0);
    card->Text(CardFieldType::Text, u"User", user).Text(CardFieldType::Password, u"Password", u"hunter2");
    return card;
}

class LinkStoreTest : public SessionTest<> {
protected:
    void SetUp() override {
        std::filesystem::create_directory(phone / "fs");
        std::string error;
        ASSERT_TRUE(CreateStoreFile(Host(), StoreKind::Wallet, password.data(), password.size(), error))
            << error;
    }

    std::filesystem::path Host() const { return phone / "fs" / "Tessera.dat"; }

    int OpenAndUnlock(CTesseraEncryptedLinkList& store) {
        int code = store.Open();
        if (code == 0 && !store.CheckPassword(password.data(), password.size())) return 1;
        return code;
    }

    // The open code of the wallet as it is on the phone, read in process.
    int CodeOnThePhone() {
        Connect(std::make_shared<FolderTransport>(phone.Path()));
        CTesseraEncryptedLinkList fresh(kWallet, kWalletFileType);
        return fresh.Open();
    }

    TempDir phone;
    SecureBytes password = PasswordBytes(u"correct horse");
};

struct StoreStep {
    const char* what;
    std::function<bool(CTesseraEncryptedLinkList&)> step;
    std::vector<uint32_t> kept;
    bool provable = true;  // a cut leaves what the checksum proves; else a salvage mends it
};

class AgentGoneDuringStoreTest : public LinkStoreTest {
protected:
    void SetUp() override {
        LinkStoreTest::SetUp();
        Connect(std::make_shared<FolderTransport>(phone.Path()));
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        ASSERT_EQ(OpenAndUnlock(store), 0);
        ASSERT_TRUE(store.AddRecord(Card(u"Bank", u"alice")->Item(), 1));
        ASSERT_TRUE(store.AddRecord(Card(u"Mail", u"bob")->Item(), 2));
        before = ReadBytes(Host());
    }

    using Step = std::function<bool(CTesseraEncryptedLinkList&)>;

    // The requests that the step sends when nothing goes wrong.
    uint64_t RequestsOf(const Step& step) {
        std::shared_ptr<SocketTransport> socket = agent.Transport();
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        Connect(std::make_shared<FolderTransport>(phone.Path()));
        EXPECT_EQ(OpenAndUnlock(store), 0);
        Connect(socket);
        uint64_t start = socket->RoundTrips();
        EXPECT_TRUE(step(store));
        uint64_t requests = socket->RoundTrips() - start;
        WriteBytes(Host(), before);
        return requests;
    }

    // Runs the step through a relay that hangs up after the nth request; only the last, the close, may
    // fail unnoticed.
    void ExpectCleanFailure(const StoreStep& c, uint64_t nth, bool last) {
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        Connect(std::make_shared<FolderTransport>(phone.Path()));
        ASSERT_EQ(OpenAndUnlock(store), 0);
        CuttingRelay relay(agent.Socket(), nth);
        Connect(relay.Transport());
        bool done = c.step(store);
        EXPECT_TRUE(last || !done) << "request " << nth;
        EXPECT_EQ(relay.Passed(), nth);
        EXPECT_EQ(OpenError(kWallet, GENERIC_READ, 0, OPEN_EXISTING), ERROR_NOT_CONNECTED);
        ExpectRecoverable(nth, c);
    }

    // Either the change is whole, or it never happened, or the stale checksum shows; what the cut left,
    // repair mends (a rewrite in place, which no checksum proves, a salvage): every card live before is
    // there, the one being saved old or new.
    void ExpectRecoverable(uint64_t nth, const StoreStep& c) {
        int code = CodeOnThePhone();
        EXPECT_TRUE(code == 0 || code == CTesseraEncryptedLinkList::kChecksumMismatch)
            << "request " << nth << ": code " << code;
        std::string report;
        if (code == CTesseraEncryptedLinkList::kChecksumMismatch) {
            RepairMode mode = c.provable ? RepairMode::kRepair : RepairMode::kSalvage;
            EXPECT_EQ(RepairStoreFile(kWallet, kWalletFileType, password, GetSystemTimeUtc(), report, mode),
                      RepairResult::kRepaired)
                << "request " << nth << ": " << report;
        }
        CTesseraEncryptedLinkList after(kWallet, kWalletFileType);
        ASSERT_EQ(OpenAndUnlock(after), 0) << "request " << nth;
        for (uint32_t id : c.kept)
            EXPECT_NE(after.FindRecord(id), nullptr) << "request " << nth << ", card " << id;
        for (const auto& entry : std::filesystem::directory_iterator(Host().parent_path()))
            if (entry.path().filename().string().starts_with("Tessera.dat.repair-"))
                std::filesystem::remove(entry.path());
        WriteBytes(Host(), before);
    }

    void ExpectEveryCutHandled(const StoreStep& c) {
        uint64_t requests = RequestsOf(c.step);
        ASSERT_GT(requests, 2u);
        for (uint64_t nth = 1; nth <= requests; ++nth) ExpectCleanFailure(c, nth, nth == requests);
    }

    RunningAgent agent{phone.Path()};
    std::vector<uint8_t> before;
};

// The changes a save makes: an add, a rewrite in place, a grow and a delete.
std::vector<StoreStep> Changes() {
    const std::vector<uint32_t> both{1, 2};
    return {
        {"add", [](auto& store) { return store.AddRecord(Card(u"Shop", u"carol")->Item(), 3); }, both},
        {"rewrite in place",  // the same length as card 1's "Bank" and "alice"
         [](auto& store) {
             uint32_t offset = store.FindRecord(1)->offset;
             return store.UpdateRecord(Card(u"Cash", u"alice")->Item(), store.FindRecord(1)) &&
                    store.FindRecord(1)->offset == offset;
         },
         both, false},
        {"grow",
         [](auto& store) {
             auto card = Card(u"Bank", u"alice");
             card->Text(CardFieldType::Text, u"Notes", std::u16string(80, u'n'));
             return store.UpdateRecord(card->Item(), store.FindRecord(1));
         },
         both},
        {"delete", [](auto& store) { return store.DeleteRecord(store.FindRecord(2)); }, {1}},
    };
}

TEST_F(AgentGoneDuringStoreTest, OpenAddRewriteGrowAndDelete) {
    std::vector<StoreStep> cases = Changes();
    cases.insert(cases.begin(), {"open", [this](auto& store) { return OpenAndUnlock(store) == 0; }, {1, 2}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectEveryCutHandled(c);
    }
}

// The agent process killed (SIGKILL) just before each write of each change reaches it: the change fails,
// and the file on the phone is whole or mended by repair.
TEST_F(AgentGoneDuringStoreTest, AnAgentKilledAtAnyWriteLosesNoCard) {
    int points = 0;
    for (const StoreStep& c : Changes()) {
        SCOPED_TRACE(c.what);
        for (uint64_t nth = 1;; ++nth) {
            CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
            Connect(std::make_shared<FolderTransport>(phone.Path()));
            ASSERT_EQ(OpenAndUnlock(store), 0);
            AgentProcess killed(phone.Path(), phone / "killed.sock");
            ASSERT_TRUE(killed.Serving());
            auto faults = std::make_shared<FaultInjectingTransport>(
                std::make_shared<SocketTransport>(phone / "killed.sock"));
            faults->RunBefore(RapiOp::WriteFile, nth, [&killed] {
                killed.Signal(SIGKILL);
                killed.WaitForEnd();
            });
            Connect(faults);
            const bool done = c.step(store);
            const bool reached = faults->Calls(RapiOp::WriteFile) >= nth;
            EXPECT_NE(done, reached) << "write " << nth;
            ExpectRecoverable(nth, c);
            if (!reached) break;
            ++points;
        }
    }
    EXPECT_GE(points, 8);
    std::cout << "agent killed at " << points << " writes\n";
}

// `tessera-phone serve` as a person runs it.
class AgentProcessTest : public LinkStoreTest {
protected:
    std::filesystem::path Socket() const { return sockets / "phone.sock"; }
    TempDir sockets;
};

// Asked to end, the agent cleans up (one that dies outright is like AgentGoneTest's).
TEST_F(AgentProcessTest, ATerminatedAgentRemovesItsSocketAndEndsItsSessions) {
    AgentProcess agent(phone.Path(), Socket());
    ASSERT_TRUE(agent.Serving());
    Connect(std::make_shared<SocketTransport>(Socket()));
    HANDLE file = Open(kWallet, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    agent.Signal(SIGTERM);
    std::optional<int> status = agent.WaitForEnd();
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_FALSE(std::filesystem::exists(Socket()));
    EXPECT_EQ(Read(file, 4), "<error 2250>");
}

}  // namespace
