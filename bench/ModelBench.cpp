// The wallet model's costs beside baselines in the same run: loading the rows of a 10,000-card wallet
// against copying (and against decrypting) its records, each sort against std::stable_sort of as many
// ints, the find filter against a plain search of the same names, and the export against writing as
// many bytes to a file.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>

#include "TestSupport.h"
#include "model/CardExport.h"
#include "model/Data.h"
#include "model/DataRows.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"
#include "phone/NewStoreFile.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "store/BufferCipher.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"

namespace {

constexpr int kWalletCards = 10000;

std::u16string RandomWord(std::mt19937& random, size_t length) {
    static constexpr std::u16string_view kLetters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    std::u16string word(length, u' ');
    for (char16_t& unit : word) unit = kLetters[random() % kLetters.size()];
    return word;
}

SYSTEMTIME RandomTime(std::mt19937& random) {
    SYSTEMTIME t{};
    t.wYear = uint16_t(2000 + random() % 26);
    t.wMonth = uint16_t(1 + random() % 12);
    t.wDay = uint16_t(1 + random() % 28);
    t.wHour = uint16_t(random() % 24);
    t.wMinute = uint16_t(random() % 60);
    t.wSecond = uint16_t(random() % 60);
    return t;
}

void AddField(CTesseraItem& card, std::u16string_view name, uint32_t type, std::u16string_view text) {
    ItemField field;
    field.type = type;
    field.SetName(name);
    SetFieldText(field, text);
    card.fields.AddTail(std::move(field));
}

// A web login as a person keeps it: name, user, password, address and a date.
std::unique_ptr<CTesseraItem> RandomCard(std::mt19937& random) {
    auto card = NewBlankCard();
    SetItemName(*card, RandomWord(random, 8 + random() % 12));
    card->categoryId = random() % 20;
    card->icon = random() % 80;
    card->created = RandomTime(random);
    card->modified = RandomTime(random);
    AddField(*card, u"User", kFieldText, RandomWord(random, 10));
    AddField(*card, u"Password", kFieldPassword, RandomWord(random, 16));
    AddField(*card, u"Web site", kFieldUrl, u"https://" + RandomWord(random, 12) + u".example");
    ItemField since;
    since.type = kFieldDate;
    since.SetName(u"Since");
    since.value.resize(16);
    StoreTime(RandomTime(random), since.value.data());
    card->fields.AddTail(std::move(since));
    return card;
}

// A phone whose wallet holds kWalletCards random cards, written in one go, and a model opened on it.
class Wallet {
public:
    Wallet() {
        std::string error;
        SecureBytes password = PasswordBytes(u"bench password");
        if (!CreateStoreFile(dir / "Tessera.dat", StoreKind::Wallet, password.data(), password.size(), error))
            abort();
        WriteCards(password);
        RapiSetTransport(FolderTransport::ForFsRoot(dir.Path()));
        connection = std::make_unique<RapiConnection>();
        data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", kWalletFileType),
                       nullptr);
        if (data.WalletStore()->Open() != 0 ||
            !data.WalletStore()->CheckPassword(password.data(), password.size()))
            abort();
    }

    std::filesystem::path ExportFile() const { return dir / "export.txt"; }

    TempDir dir;
    std::unique_ptr<RapiConnection> connection;
    CData data;

private:
    void WriteCards(const SecureBytes& password) {
        Key32 key;
        PasswordKey(password.data(), password.size(), key);
        std::vector<uint8_t> file = ReadBytes(dir / "Tessera.dat");
        std::mt19937 random(7);
        for (uint32_t id = 1; id <= kWalletCards; ++id) {
            SecureBytes plain;
            Bytes cipher;
            if (!RandomCard(random)->Serialize(plain) ||
                !EncryptBuffer(key, plain.data(), plain.size(), cipher))
                abort();
            uint8_t head[kRecordHeadSize];
            EncodeRecordHead({kRecordLive, id, uint32_t(file.size()), uint32_t(cipher.size())}, head);
            file.insert(file.end(), head, head + sizeof head);
            file.insert(file.end(), cipher.begin(), cipher.end());
        }
        SealStoreFile(file.data(), file.size());
        WriteBytes(dir / "Tessera.dat", file);
    }
};

Wallet& SharedWallet() {
    static Wallet wallet;
    return wallet;
}

// Rows with a name and, as the find sees them, a user name, a web address and a short note.
const std::vector<card_info_struct>& RandomRows(size_t count) {
    static std::map<size_t, std::vector<card_info_struct>> made;
    auto [slot, fresh] = made.try_emplace(count);
    std::mt19937 random(11);
    for (size_t id = 1; fresh && id <= count; ++id) {
        std::u16string findable = RandomWord(random, 10) + u"\nhttps://" + RandomWord(random, 12) +
                                  u".example\n" + RandomWord(random, 40) + u"\n";
        slot->second.push_back({int32_t(id), int32_t(random() % 30), int32_t(random() % 80),
                                RandomWord(random, 8 + random() % 16), RandomTime(random), RandomTime(random),
                                WipedText(FoldedForFind(findable))});
    }
    return slot->second;
}

void LoadCards(benchmark::State& state) {
    CData& data = SharedWallet().data;
    for (auto _ : state) {
        data.LoadCards();
        benchmark::DoNotOptimize(data.cards.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * data.cardCount());
}

void CopyCiphertext(benchmark::State& state) {
    CTesseraEncryptedLinkList& store = *SharedWallet().data.WalletStore();
    size_t total = 0;
    for (auto* node = store.records.head; node; node = node->next) total += node->element.length();
    Bytes copy(total);
    for (auto _ : state) {
        uint8_t* p = copy.data();
        for (auto* node = store.records.head; node; node = node->next) {
            std::memcpy(p, node->element.data.data(), node->element.length());
            p += node->element.length();
        }
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * store.records.count);
}

void DecryptRecords(benchmark::State& state) {
    CTesseraEncryptedLinkList& store = *SharedWallet().data.WalletStore();
    for (auto _ : state) {
        for (auto* node = store.records.head; node; node = node->next) {
            SecureBytes plain;
            benchmark::DoNotOptimize(store.GetRecordData(&node->element, &plain));
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * store.records.count);
}

void SortRows(benchmark::State& state, CardSortKey key) {
    const std::vector<card_info_struct>& source = RandomRows(size_t(state.range(0)));
    std::vector<card_info_struct> rows;
    for (auto _ : state) {
        state.PauseTiming();
        rows = source;
        state.ResumeTiming();
        SortCards(key, int(rows.size()), rows, true);
        benchmark::DoNotOptimize(rows.data());
    }
}

void StableSortInts(benchmark::State& state) {
    std::mt19937 random(11);
    std::vector<int32_t> source(size_t(state.range(0))), values;
    for (int32_t& value : source) value = int32_t(random() % 30);
    for (auto _ : state) {
        state.PauseTiming();
        values = source;
        state.ResumeTiming();
        std::stable_sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}

void FindFilter(benchmark::State& state) {
    const std::vector<card_info_struct>& source = RandomRows(size_t(state.range(0)));
    CData data;
    data.SetFind(true, u"Ab");
    for (auto _ : state) {
        state.PauseTiming();
        data.cards = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(data.PartitionCards(kAllCategories));
    }
    state.counters["shown"] = data.PartitionCards(kAllCategories);
}

// The same names searched for one spelling, with no folding and no row moved.
void PlainSearch(benchmark::State& state) {
    const std::vector<card_info_struct>& rows = RandomRows(size_t(state.range(0)));
    for (auto _ : state) {
        int found = 0;
        for (const card_info_struct& row : rows) found += row.name.find(u"ab") != std::u16string::npos;
        benchmark::DoNotOptimize(found);
    }
}

void ExportWallet(benchmark::State& state) {
    Wallet& wallet = SharedWallet();
    std::string error;
    for (auto _ : state) {
        if (!ExportCards(*wallet.data.WalletStore(), wallet.ExportFile(), error))
            state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(std::filesystem::file_size(wallet.ExportFile())));
}

void WriteSameBytes(benchmark::State& state) {
    Wallet& wallet = SharedWallet();
    std::string error;
    if (!ExportCards(*wallet.data.WalletStore(), wallet.ExportFile(), error))
        state.SkipWithError(error.c_str());
    std::vector<uint8_t> bytes = ReadBytes(wallet.ExportFile());
    std::filesystem::path file = wallet.dir / "plain.txt";
    for (auto _ : state) {
        int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
        if (fd < 0 || ::close(fd) != 0 || !written) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

}  // namespace

BENCHMARK(LoadCards)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyCiphertext)->Unit(benchmark::kMillisecond);
BENCHMARK(DecryptRecords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Name, CardSortKey::Name)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Category, CardSortKey::Category)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Created, CardSortKey::Created)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Modified, CardSortKey::Modified)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StableSortInts)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FindFilter)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSearch)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportWallet)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteSameBytes)->Unit(benchmark::kMillisecond);
