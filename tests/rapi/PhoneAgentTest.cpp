// The phone agent in process: malformed frames close only their own connection, and the socket lives in
// a private folder that the agent guards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>

#include "RapiContract.h"
#include "RunningAgent.h"
#include "StandInAgents.h"
#include "platform/rapi/wire/UnixSocket.h"

namespace {

std::vector<uint8_t> Bytes(WireWriter& writer) {
    std::span<const uint8_t> frame = writer.Frame();
    return {frame.begin(), frame.end()};
}

std::vector<uint8_t> Frame(uint32_t op, const std::vector<uint8_t>& body) {
    WireWriter writer(static_cast<WireOp>(op));
    writer.Raw(body.data(), body.size());
    return Bytes(writer);
}

std::vector<uint8_t> HelloFrame(uint32_t magic, uint32_t version) {
    WireWriter hello(WireOp::Hello);
    hello.U32(magic);
    hello.U32(version);
    return Bytes(hello);
}

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A client that speaks raw bytes to the agent.
class RawClient {
public:
    explicit RawClient(const std::filesystem::path& socket) {
        int error = 0;
        fd = ConnectUnixSocket(socket, std::chrono::seconds(1), &error);
    }

    void Send(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    void EndSending() { ::shutdown(fd.Get(), SHUT_WR); }

    // The replies the agent sent before it closed the connection; nullopt when it did not close it.
    std::optional<std::vector<uint32_t>> RepliesUntilClosed() {
        WireChannel channel(fd.Get());
        std::vector<uint32_t> errors;
        uint32_t op = 0;
        std::vector<uint8_t> body;
        // Each pass takes one reply, or ends the loop.
        for (;;) {
            FrameStatus status = channel.Receive(&op, &body, SoonDeadline());
            if (status == FrameStatus::Closed) return errors;
            if (status != FrameStatus::Ok) return std::nullopt;
            WireReader reader(body);
            errors.push_back(reader.U32());
        }
    }

private:
    UniqueFd fd;
};

class PhoneAgentTest : public SessionTest<> {
protected:
    void SetUp() override {
        WriteBytes(phone / "fs" / "note.txt", {'n', 'o', 't', 'e'});
        Connect(agent.Transport());
    }

    TempDir phone;
    RunningAgent agent{phone.Path()};
};

struct Malformed {
    const char* what;
    std::vector<uint8_t> bytes;
    bool endSending = false;
};

TEST_F(PhoneAgentTest, MalformedFramesCloseOnlyTheirConnection) {
    const std::vector<uint8_t> hello = HelloFrame(kLinkMagic, kLinkVersion);
    WireWriter longName(WireOp::DeleteFile);
    longName.Text(u"\\" + std::u16string(kMaxPathUnits, u'a'));
    WireWriter bigRead(WireOp::ReadFile);
    bigRead.U64(1);
    bigRead.I64(kWireHere);
    bigRead.U32(kMaxTransfer + 1);
    std::vector<uint8_t> oversized = Frame(static_cast<uint32_t>(WireOp::WriteFile), {});
    oversized[0] = 0x41, oversized[1] = 0, oversized[2] = 0x10, oversized[3] = 0;  // kMaxFrameBody + 1
    const std::vector<Malformed> cases = {
        {"garbage", {'G', 'E', 'T', ' ', '/', ' ', 'H', 'T', 'T', 'P', '/', '1', '.', '1', '\r', '\n'}},
        {"bad magic", HelloFrame(0x12345678, kLinkVersion)},
        {"request before the handshake",
         Frame(static_cast<uint32_t>(WireOp::GetFileSize), std::vector<uint8_t>(8))},
        {"oversized length", Joined(hello, oversized)},
        {"truncated frame", Joined(hello, {100, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3}), true},
        {"unknown operation", Joined(hello, Frame(999, {}))},
        {"second handshake", Joined(hello, hello)},
        {"name over MAX_PATH", Joined(hello, Bytes(longName))},
        {"read over the limit", Joined(hello, Bytes(bigRead))},
        {"trailing bytes", Joined(hello, Frame(static_cast<uint32_t>(WireOp::GetAppState), {0}))},
        {"short body", Joined(hello, Frame(static_cast<uint32_t>(WireOp::CloseHandle), {1, 0, 0}))},
    };
    // Shared for writing, so that every read goes to the agent.
    HANDLE held = Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const Malformed& c : cases) {
        RawClient client(agent.Socket());
        client.Send(c.bytes);
        if (c.endSending) client.EndSending();
        std::optional<std::vector<uint32_t>> replies = client.RepliesUntilClosed();
        ASSERT_TRUE(replies) << c.what;
        // Only the handshake, if any, was answered.
        EXPECT_LE(replies->size(), 1u) << c.what;
        EXPECT_EQ(Read(held, 2), "no") << c.what;
        EXPECT_EQ(CeSetFilePointer(held, 0, nullptr, FILE_BEGIN), 0u);
    }
    EXPECT_TRUE(CeCloseHandle(held));
    EXPECT_EQ(InOtherSession([] { return Contents(u"\\note.txt"); }), "note");
}

TEST_F(PhoneAgentTest, OtherProtocolVersionIsRefusedWithItsReason) {
    RawClient client(agent.Socket());
    client.Send(HelloFrame(kLinkMagic, kLinkVersion + 1));
    EXPECT_EQ(client.RepliesUntilClosed(), std::vector<uint32_t>{ERROR_NOT_SUPPORTED});
}

// A session over its handles or searches gets an error and goes on; a client over the limit hears why.
using AgentLimitsTest = SessionTest<>;
TEST_F(AgentLimitsTest, EachLimitIsReachedAndAnswered) {
    TempDir phone;
    RunningAgent agent(phone.Path(), {std::chrono::milliseconds(500), 2});
    WriteBytes(phone / "fs" / "note.txt", {'n'});
    Connect(agent.Transport());

    std::vector<HANDLE> files;
    for (HANDLE file;
         (file = Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)) != INVALID_HANDLE_VALUE;)
        files.push_back(file);
    EXPECT_EQ(files.size(), 64u);
    EXPECT_EQ(CeGetLastError(), ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_TRUE(CeCloseHandle(files.back()));
    EXPECT_NE(Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    CE_FIND_DATA found;
    std::vector<HANDLE> searches;
    for (HANDLE search; (search = CeFindFirstFile(u"\\*", &found)) != INVALID_HANDLE_VALUE;)
        searches.push_back(search);
    EXPECT_EQ(searches.size(), 16u);
    EXPECT_EQ(CeGetLastError(), ERROR_TOO_MANY_OPEN_FILES);
    RawClient second(agent.Socket());  // with this thread's session, as many as the agent serves
    second.Send(HelloFrame(kLinkMagic, kLinkVersion));
    std::thread([] {  // the client over the limit hears why
        EXPECT_NE(CeRapiInit(), S_OK);
        EXPECT_EQ(CeGetLastError(), ERROR_REQ_NOT_ACCEP);
    })
        .join();
    EXPECT_EQ(second.RepliesUntilClosed(), std::vector<uint32_t>{ERROR_SUCCESS});  // closed once idle
}

// A session that held nothing when the agent ended its silent connection goes on over a new one; one that
// held a file does not, since its handles went with the old connection.
TEST_F(AgentLimitsTest, ASilentSessionGoesOnOverANewConnectionUnlessItHeldAFile) {
    TempDir phone;
    RunningAgent agent(phone.Path(), {std::chrono::milliseconds(200), 2});
    WriteBytes(phone / "fs" / "note.txt", {'n'});
    Connect(agent.Transport());
    for (bool holding : {false, true}) {
        HANDLE held = holding ? Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING) : nullptr;
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        HANDLE file = Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, !holding) << holding;
        CeCloseHandle(file);
    }
}

// A file let go after the agent ended the silent connection: the close goes over a new one, whose handles
// (the same ids again) read their own files, never the read-ahead block of the old one.
TEST_F(AgentLimitsTest, ANewConnectionReadsNothingFromTheOldOnesBlocks) {
    TempDir phone;
    RunningAgent agent(phone.Path(), {std::chrono::milliseconds(200), 2});
    WriteBytes(phone / "fs" / "note.txt", {'n', 'n'});
    WriteBytes(phone / "fs" / "other.txt", {'o', 'o'});
    Connect(agent.Transport());
    HANDLE held = Open(u"\\note.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(Read(held, 1), "n");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    CeCloseHandle(held);
    // Shared for writing, so read without a block of its own.
    HANDLE other = Open(u"\\other.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    EXPECT_EQ(other, held);
    EXPECT_EQ(Read(other, 1), "o");
}

class AgentSocketTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(phone / "fs"); }

    // Starts an agent on the socket; the error when it refuses.
    std::string StartError(const std::filesystem::path& socket) {
        agents.push_back(std::make_unique<PhoneAgent>(phone.Path(), socket));
        std::string error;
        return agents.back()->Start(error) ? "" : error;
    }
    bool Answers(const std::filesystem::path& socket) { return SocketTransport(socket).Connect() != nullptr; }

    TempDir phone;
    TempDir sockets;
    std::vector<std::unique_ptr<PhoneAgent>> agents;
};

TEST_F(AgentSocketTest, StaleSocketIsReplacedAndAMissingFolderCreatedPrivate) {
    std::filesystem::path socket = sockets / "phone.sock";
    {
        sockaddr_un address;
        ASSERT_TRUE(UnixAddress(socket, &address));
        UniqueFd stale(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(::bind(stale.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    ASSERT_TRUE(std::filesystem::is_socket(socket));
    EXPECT_EQ(StartError(socket), "");
    EXPECT_NE(StartError(socket), "");  // a live agent keeps its socket
    EXPECT_TRUE(Answers(socket));
    socket = sockets / "new" / "phone.sock";
    mode_t old = ::umask(0);
    EXPECT_EQ(StartError(socket), "");
    ::umask(old);
    struct stat info;
    ASSERT_EQ(::stat(socket.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_TRUE(Answers(socket));
}

TEST_F(AgentSocketTest, UnsafeFoldersOtherFilesAndPhonesWithoutAFileSystemAreRefused) {
    std::filesystem::path open = sockets / "open", theirs = sockets / "theirs";
    std::filesystem::create_directory(open);
    ::chmod(open.c_str(), 0755);
    EXPECT_NE(StartError(open / "phone.sock"), "");
    EXPECT_FALSE(std::filesystem::exists(open / "phone.sock"));
    WriteBytes(sockets / "file.sock", {'k', 'e', 'e', 'p'});
    EXPECT_NE(StartError(sockets / "file.sock"), "");
    EXPECT_EQ(ReadText(sockets / "file.sock"), "keep");
    std::filesystem::remove(phone / "fs");
    EXPECT_NE(StartError(sockets / "phone.sock"), "");
    EXPECT_FALSE(std::filesystem::exists(sockets / "phone.sock"));
    std::filesystem::create_directory(phone / "fs");
    std::filesystem::create_directory(theirs);
    ::chmod(theirs.c_str(), 0700);
    if (::chown(theirs.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) != 0)
        GTEST_SKIP() << "changing a folder's owner needs privileges";
    EXPECT_NE(StartError(theirs / "phone.sock"), "");
}

}  // namespace
