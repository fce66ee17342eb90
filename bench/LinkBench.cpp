// The phone link with a 10,000-card wallet: opening it, unlocking it and decrypting every record, and
// changing one record, over the socket transport beside the folder transport, with a plain read of the
// file's bytes as the floor. Also counts the round trips of an open and of a change, and sets the cost
// of one change in a 100-card wallet beside the same change in the 10,000-card one: a change costs about
// one record's bytes, whatever the wallet's size. The wallets are made once and kept in a temporary
// folder between runs.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "RatioReporter.h"
#include "phone/CardBuilder.h"
#include "phone/NewStoreFile.h"
#include "phone/PhoneAgent.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/client/SocketTransport.h"
#include "platform/rapi/wire/UniqueFd.h"
#include "store/PasswordBytes.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

constexpr uint32_t kCards = 10000;
constexpr uint32_t kSmallWallet = 100;
constexpr char16_t kWallet[] = u"\\Tessera.dat";

const SecureBytes& Password() {
    static const SecureBytes password = PasswordBytes(u"bench password");
    return password;
}

int OpenAndUnlock(CTesseraEncryptedLinkList& store) {
    int code = store.Open();
    if (code == 0 && !store.CheckPassword(Password().data(), Password().size())) return 1;
    return code;
}

std::unique_ptr<CardBuilder> Card(uint32_t id) {
    std::u16string n(1, char16_t(u'0' + id % 10));
    auto card = std::make_unique<CardBuilder>(u"Card " + n + u" of the bench wallet", id % 8, 0);
    card->Text(CardFieldType::Text, u"User", u"user" + n + u"@example.org")
        .Text(CardFieldType::Password, u"Password", u"pa55word-" + n)
        .Text(CardFieldType::Url, u"Site", u"https://www.example.org/login")
        .Text(CardFieldType::Text, u"Notes", u"Security questions: first pet, street of birth");
    return card;
}

// The phone folder holding the wallet; made when the kept one is missing or does not open.
class BenchPhone {
public:
    explicit BenchPhone(uint32_t cards)
        : cards(cards),
          dir(std::filesystem::temp_directory_path() /
              ("tessera-bench-link-" + std::to_string(getuid()) + "-" + std::to_string(cards))) {
        auto folder = std::make_shared<FolderTransport>(dir);
        RapiSetTransport(folder);
        if (!Usable()) Make();
        RapiSetTransport(nullptr);
    }
    const std::filesystem::path& Dir() const { return dir; }
    std::filesystem::path Wallet() const { return dir / "fs" / "Tessera.dat"; }

private:
    bool Usable() {
        RapiConnection connection;
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        return connection.Ok() && OpenAndUnlock(store) == 0 && store.records.count == int(cards);
    }
    void Make() {
        std::cerr << "making a wallet of " << cards << " cards in " << dir << " (kept for later runs)\n";
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "fs");
        std::string error;
        if (!CreateStoreFile(Wallet(), StoreKind::Wallet, Password().data(), Password().size(), error)) {
            std::cerr << error << "\n";
            std::exit(1);
        }
        RapiConnection connection;
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        if (!connection.Ok() || OpenAndUnlock(store) != 0) std::exit(1);
        for (uint32_t id = 1; id <= cards; ++id) {
            if (!store.AddRecord(Card(id)->Item(), id)) std::exit(1);
        }
    }

    uint32_t cards;
    std::filesystem::path dir;
};

// The wallet's phone, served in process on a socket in a private temporary folder.
class BenchLink {
public:
    explicit BenchLink(uint32_t cards) : phone(cards) {
        char pattern[] = "/tmp/tessera-bench-sock-XXXXXX";
        socketDir = mkdtemp(pattern);
        agent = std::make_unique<PhoneAgent>(phone.Dir(), socketDir / "phone.sock");
        std::string error;
        if (!agent->Start(error)) {
            std::cerr << error << "\n";
            std::exit(1);
        }
        socket = std::make_shared<SocketTransport>(agent->Socket());
        folder = std::make_shared<FolderTransport>(phone.Dir());
    }
    ~BenchLink() {
        agent->Stop();
        std::filesystem::remove_all(socketDir);
    }

    BenchPhone phone;
    std::filesystem::path socketDir;
    std::unique_ptr<PhoneAgent> agent;
    std::shared_ptr<SocketTransport> socket;
    std::shared_ptr<FolderTransport> folder;
};

BenchLink& Link(uint32_t cards = kCards) {
    static std::map<uint32_t, std::unique_ptr<BenchLink>> links;
    std::unique_ptr<BenchLink>& link = links[cards];
    if (!link) link = std::make_unique<BenchLink>(cards);
    return *link;
}

std::shared_ptr<RapiTransport> TransportOf(benchmark::State& state, uint32_t cards) {
    return state.range(0) ? std::shared_ptr<RapiTransport>(Link(cards).socket) : Link(cards).folder;
}

// Ce* calls, and round trips when the transport is the socket, per iteration.
class CallCounter {
public:
    explicit CallCounter(benchmark::State& state, uint32_t cards = kCards)
        : state(state),
          cards(cards),
          calls(std::make_shared<FaultInjectingTransport>(TransportOf(state, cards))) {
        RapiSetTransport(calls);
        connection = std::make_unique<RapiConnection>();
        if (!connection->Ok()) state.SkipWithError("no connection");
        calls->ResetCounters();
        trips = Link(cards).socket->RoundTrips();
    }
    ~CallCounter() {
        double iterations = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["calls"] = double(calls->TotalCalls()) / iterations;
        if (state.range(0))
            state.counters["round_trips"] = double(Link(cards).socket->RoundTrips() - trips) / iterations;
        connection.reset();
        RapiSetTransport(nullptr);
    }

private:
    benchmark::State& state;
    uint32_t cards;
    std::shared_ptr<FaultInjectingTransport> calls;
    std::unique_ptr<RapiConnection> connection;
    uint64_t trips = 0;
};

void MoveBytes(benchmark::State& state) {
    std::vector<uint8_t> bytes(std::filesystem::file_size(Link().phone.Wallet()));
    for (auto _ : state) {
        UniqueFd fd(::open(Link().phone.Wallet().c_str(), O_RDONLY | O_CLOEXEC));
        size_t done = 0;
        if (ReadAt(fd.Get(), bytes.data(), bytes.size(), 0, &done) != 0 || done != bytes.size())
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void Open(benchmark::State& state) {
    CallCounter counter(state);
    for (auto _ : state) {
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        if (OpenAndUnlock(store) != 0) state.SkipWithError("open failed");
    }
}

void OpenAndReadAll(benchmark::State& state) {
    CallCounter counter(state);
    for (auto _ : state) {
        CTesseraEncryptedLinkList store(kWallet, kWalletFileType);
        if (OpenAndUnlock(store) != 0) state.SkipWithError("open failed");
        SecureBytes plain;
        for (store.records.MoveFirst(); store.records.cursor; store.records.MoveNext()) {
            if (store.GetRecordData(&store.records.GetCurrent(), &plain) == 0)
                state.SkipWithError("unreadable");
        }
    }
}

// Arguments: the transport, the wallet's cards.
void UpdateRecord(benchmark::State& state) {
    uint32_t cards = static_cast<uint32_t>(state.range(1));
    RapiSetTransport(Link(cards).folder);
    auto store = std::make_unique<CTesseraEncryptedLinkList>(kWallet, kWalletFileType);
    {
        RapiConnection connection;
        if (OpenAndUnlock(*store) != 0) state.SkipWithError("open failed");
    }
    std::unique_ptr<CardBuilder> card = Card(cards / 2);
    CallCounter counter(state, cards);
    for (auto _ : state) {
        if (!store->UpdateRecord(card->Item(), store->FindRecord(cards / 2)))
            state.SkipWithError("update failed");
    }
}

// Argument 0: the folder transport, 1: the socket transport.
BENCHMARK(MoveBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(Open)->ArgName("socket")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndReadAll)->ArgName("socket")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(UpdateRecord)
    ->ArgNames({"socket", "cards"})
    ->Args({0, kCards})
    ->Args({1, kSmallWallet})
    ->Args({1, kCards})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// The ratios of each socket case to its folder case, and of the folder's full read to the floor.
int main(int argc, char** argv) {
    RatioReporter reporter("", {{"Open/socket:1", "Open/socket:0"},
                                {"OpenAndReadAll/socket:1", "OpenAndReadAll/socket:0"},
                                {"UpdateRecord/socket:1/cards:10000", "UpdateRecord/socket:0/cards:10000"},
                                {"OpenAndReadAll/socket:1", "MoveBytes"},
                                {"UpdateRecord/socket:1/cards:10000", "UpdateRecord/socket:1/cards:100",
                                 "UpdateRecord 10000 / 100"}});
    return RunWithRatios(argc, argv, reporter);
}
