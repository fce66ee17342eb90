// When the agent goes away, or answers out of step, every pending and later call of the session fails with
// ERROR_NOT_CONNECTED; nothing waits longer than the reply timeout, and the caller's buffers stay whole.
#include <gtest/gtest.h>

#include "RapiContract.h"
#include "RunningAgent.h"
#include "StandInAgents.h"

namespace {

constexpr DWORD kGone = ERROR_NOT_CONNECTED;

// A handshake answered, then whatever the script does with the requests.
using StandInTest = SessionTest<>;

// A hang-up fails the call far below the reply timeout, silence when the reply is late.
TEST_F(StandInTest, AgentThatHangsUpStaysSilentOrAnswersAnotherCallFailsTheSession) {
    const struct {
        const char* what;
        std::function<void(WireChannel&)> script;
        std::chrono::milliseconds replyTimeout;
    } cases[] = {
        {"hang-up", [](WireChannel& channel) { SkipRequest(channel); }, std::chrono::seconds(60)},
        {"silent",
         [](WireChannel& channel) {
             if (SkipRequest(channel)) channel.WaitReadable(SoonDeadline());  // until the client gives up
         },
         std::chrono::milliseconds(200)},
        {"other reply",
         [](WireChannel& channel) {
             if (!SkipRequest(channel)) return;
             WireWriter wrong(WireOp::CloseApp);
             wrong.U32(ERROR_SUCCESS);
             wrong.U32(1);
             ReplyAndLinger(channel, wrong);
         },
         std::chrono::seconds(60)},
    };
    for (const auto& c : cases) {
        ScriptedAgent agent(c.script);
        Connect(agent.Transport({std::chrono::seconds(1), c.replyTimeout}));
        auto start = LinkClock::now();
        EXPECT_FALSE(CeCreateDirectory(u"\\New", nullptr)) << c.what;
        EXPECT_EQ(CeGetLastError(), kGone) << c.what;
        EXPECT_LT(LinkClock::now() - start, std::chrono::seconds(30)) << c.what;
        EXPECT_EQ(FindNames(u"\\*"), std::vector<std::u16string>{}) << c.what;
        EXPECT_EQ(CeGetLastError(), kGone) << c.what;
        CeRapiUninit();
    }
}

// Answers the open with handle 7, and the read that follows with more bytes than were asked for.
void OverlongRead(WireChannel& channel) {
    if (!SkipRequest(channel)) return;
    WireWriter opened(WireOp::CreateFile);
    opened.U32(ERROR_SUCCESS);
    opened.U64(7);
    channel.Send(opened, SoonDeadline());
    if (!SkipRequest(channel)) return;
    WireWriter read(WireOp::ReadFile);
    read.U32(ERROR_SUCCESS);
    read.U32(1);
    read.Blob("0123456789", 10);
    ReplyAndLinger(channel, read);
}

TEST_F(StandInTest, ReplyWithMoreBytesThanAskedBreaksTheSessionAndSparesTheBuffer) {
    ScriptedAgent agent(OverlongRead);
    Connect(agent.Transport());
    // Shared for writing, so that the read goes to the agent as it is.
    HANDLE file = Open(u"\\a.txt", GENERIC_READ, FILE_SHARE_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[8] = "abcdefg";
    DWORD read = 99;
    EXPECT_TRUE(Refused(!CeReadFile(file, buffer, 4, &read, nullptr), kGone));
    EXPECT_EQ(read, 0u);
    EXPECT_STREQ(buffer, "abcdefg");
}

TEST_F(StandInTest, AgentOfAnotherVersionGivesNoSession) {
    ScriptedAgent agent([](WireChannel&) {}, kLinkVersion + 1);
    RapiSetTransport(agent.Transport());
    EXPECT_EQ(CeRapiInit(), E_FAIL);
}

// A phone served by an agent in this process, which the test stops.
class AgentGoneTest : public SessionTest<> {
protected:
    void SetUp() override {
        WriteBytes(phone / "fs" / "a.txt", std::vector<uint8_t>(1000, 'a'));
        WriteBytes(phone / "fs" / "b.txt", {'b'});
        Connect(agent.Transport());
    }

    // Every kind of call fails with kGone.
    static void ExpectEveryCallFails(HANDLE file) {
        EXPECT_EQ(Read(file, 10), "<error 2250>");
        EXPECT_TRUE(Refused(!Write(file, "x"), kGone));
        EXPECT_TRUE(
            Refused(CeSetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER, kGone));
        EXPECT_TRUE(Refused(!CeCloseHandle(file), kGone));
        EXPECT_EQ(OpenError(u"\\a.txt", GENERIC_READ, 0, OPEN_EXISTING), kGone);
        EXPECT_EQ(FindNames(u"\\*"), std::vector<std::u16string>{});
        HKEY key = nullptr;
        EXPECT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software", 0, KEY_READ, &key),
                  static_cast<LONG>(kGone));
        PhoneAppStatus status;
        EXPECT_TRUE(Refused(!CePhoneGetAppState(&status), kGone));
    }

    TempDir phone;
    RunningAgent agent{phone.Path()};
};

// Reads from a read-ahead block ask nobody, but within a moment one glances at the socket.
TEST_F(AgentGoneTest, StopRemovesTheSocketAndFailsCallsOnEveryHandleAndNewSessions) {
    HANDLE writable = Open(u"\\b.txt", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_TRUE(Write(writable, "bb"));
    HANDLE file = Open(u"\\a.txt", GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_EQ(Read(file, 10), std::string(10, 'a'));  // the whole file is in the block now
    agent.Stop();
    EXPECT_FALSE(std::filesystem::exists(agent.Socket()));
    std::string got;
    for (auto deadline = LinkClock::now() + std::chrono::seconds(5); LinkClock::now() < deadline;) {
        if ((got = Read(file, 1)) == "<error 2250>") break;
    }
    EXPECT_EQ(got, "<error 2250>");
    ExpectEveryCallFails(file);
    ExpectEveryCallFails(writable);
    EXPECT_EQ(CeRapiUninit(), S_OK);
    EXPECT_EQ(CeRapiInit(), E_FAIL);
    EXPECT_EQ(CeGetLastError(), kGone);
}

}  // namespace
