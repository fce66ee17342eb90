// Sessions over the socket: reads, seeks and writes give what the folder transport gives, calls larger
// than a frame travel whole, and a read-only open costs few round trips.
#include <gtest/gtest.h>

#include <random>

#include "RunningAgent.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/wire/WireFrame.h"

namespace {

constexpr size_t kFileSize = 3 * 1024 * 1024 + 123;

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    std::mt19937 random(seed);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

class LinkSessionTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(phone / "fs" / "big.bin", Pattern(kFileSize, 1)); }

    TempDir phone;
    RunningAgent agent{phone.Path()};
};

// What one call gave, to compare between transports.
struct Outcome {
    uint64_t result;
    DWORD count;
    DWORD error;
    std::vector<uint8_t> bytes;
    bool operator==(const Outcome&) const = default;
};

// Runs random reads, seeks and, on a handle that may write, writes on the file and gives what each call gave.
std::vector<Outcome> Wander(RapiSession& session, const char16_t* name, DWORD access, DWORD share,
                            uint32_t seed) {
    HANDLE file = session.CreateFile(name, access, share, OPEN_EXISTING, 0);
    std::vector<Outcome> outcomes{{file != INVALID_HANDLE_VALUE, 0, session.LastError(), {}}};
    std::mt19937 random(seed);
    const DWORD sizes[] = {0, 1, 4, 16, 200, 4096, 65536, 300000, 1500000, 3200000};
    const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END, 7};
    for (int step = 0; step < 100; ++step) {
        if (random() % 4 == 0) {
            std::vector<uint8_t> data = Pattern(sizes[random() % 7], random());
            DWORD written = 0;
            BOOL ok = session.WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written);
            outcomes.push_back({static_cast<uint64_t>(ok), written, session.LastError(), {}});
        } else if (random() % 3 == 0) {
            LONG distance = static_cast<LONG>(random() % (kFileSize + 100000)) - 50000;
            DWORD method = methods[random() % 4];
            LONG high = 0;
            DWORD low = session.SetFilePointer(file, distance, step % 2 ? &high : nullptr, method);
            outcomes.push_back(
                {uint64_t{static_cast<uint32_t>(high)} << 32 | low, 0, session.LastError(), {}});
        } else {
            std::vector<uint8_t> buffer(sizes[random() % std::size(sizes)]);
            DWORD read = 0;
            BOOL ok = session.ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read);
            buffer.resize(read);
            outcomes.push_back({static_cast<uint64_t>(ok), read, session.LastError(), std::move(buffer)});
        }
    }
    session.CloseHandle(file);
    return outcomes;
}

struct Wandering {
    DWORD access;
    DWORD share;
};

TEST_F(LinkSessionTest, ReadsSeeksAndWritesGiveWhatTheFolderGives) {
    FolderTransport folder(phone.Path());
    const Wandering cases[] = {{GENERIC_READ, 0},
                               {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
                               {GENERIC_READ | GENERIC_WRITE, 0},
                               {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE}};
    uint32_t seed = 0;
    for (const Wandering& c : cases) {
        std::filesystem::copy_file(phone / "fs" / "big.bin", phone / "fs" / "local.bin");
        std::filesystem::copy_file(phone / "fs" / "big.bin", phone / "fs" / "remote.bin");
        std::unique_ptr<RapiSession> local = folder.Connect(), remote = agent.Transport()->Connect();
        ASSERT_TRUE(local && remote);
        std::vector<Outcome> expected = Wander(*local, u"\\local.bin", c.access, c.share, ++seed);
        std::vector<Outcome> got = Wander(*remote, u"\\remote.bin", c.access, c.share, seed);
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], expected[i])
                << "access " << c.access << ", share " << c.share << ", call " << i;
        EXPECT_EQ(ReadBytes(phone / "fs" / "remote.bin"), ReadBytes(phone / "fs" / "local.bin"));
        std::filesystem::remove(phone / "fs" / "local.bin");
        std::filesystem::remove(phone / "fs" / "remote.bin");
    }
}

TEST_F(LinkSessionTest, CallsLargerThanAFrameTravelWhole) {
    std::unique_ptr<RapiSession> session = agent.Transport()->Connect();
    ASSERT_TRUE(session);
    std::vector<uint8_t> data = Pattern(kMaxTransfer * 2 + 77, 2), back(data.size() + 10);
    HANDLE file = session->CreateFile(u"\\copy.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, 0);
    DWORD done = 0;
    ASSERT_TRUE(session->WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &done));
    EXPECT_EQ(ReadBytes(phone / "fs" / "copy.bin"), data);
    ASSERT_EQ(session->SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
    ASSERT_TRUE(session->ReadFile(file, back.data(), static_cast<DWORD>(back.size()), &done));
    back.resize(done);
    EXPECT_EQ(back, data);
}

TEST_F(LinkSessionTest, SmallReadsOfAReadOnlyOpenCostFewRoundTrips) {
    std::shared_ptr<SocketTransport> transport = agent.Transport();
    std::unique_ptr<RapiSession> session = transport->Connect();
    ASSERT_TRUE(session);
    uint64_t start = transport->RoundTrips();
    HANDLE file = session->CreateFile(u"\\big.bin", GENERIC_READ, 0, OPEN_EXISTING, 0);
    std::vector<uint8_t> back(kFileSize);
    DWORD read = 0;
    for (size_t at = 0; at < kFileSize; at += read)
        ASSERT_TRUE(session->ReadFile(file, back.data() + at, 16, &read) && read > 0) << at;
    EXPECT_EQ(back, Pattern(kFileSize, 1));
    EXPECT_TRUE(session->CloseHandle(file));
    // The open, the close and seven fetches as the blocks grow to 1 MiB: not 200,000 reads.
    EXPECT_LE(transport->RoundTrips() - start, 9u);
}

}  // namespace
