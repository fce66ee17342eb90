// The import of a 10,000-row CSV file into an empty wallet over the socket link, beside adding the same
// cards one by one through CData::AddCard in the same run, and the reading and mapping of the file alone:
// the import, which saves its cards in batches, should cost less than the saves one by one.

#include <benchmark/benchmark.h>

#include <memory>

#include "RatioReporter.h"
#include "TestSupport.h"
#include "model/CsvCards.h"
#include "model/Data.h"
#include "model/ItemChanges.h"
#include "phone/NewStoreFile.h"
#include "phone/PhoneAgent.h"
#include "platform/rapi/client/SocketTransport.h"
#include "store/PasswordBytes.h"

namespace {

constexpr int kCards = 10000;

const SecureBytes& Password() {
    static const SecureBytes password = PasswordBytes(u"bench password");
    return password;
}

std::string Csv() {
    std::string csv = "name,url,username,password,note,folder\n";
    for (int i = 0; i < kCards; ++i) {
        std::string n = std::to_string(i);
        csv += "Card " + n + ",https://www.site" + n + ".example/login,user" + n +
               "@example.org,\"pa,55\"\"" + n + "\",\"two\nlines\",Folder " + std::to_string(i % 10) + "\n";
    }
    return csv;
}

// An empty wallet and templates file on a phone served over a socket, and a model opened on them.
class EmptyWallet {
public:
    EmptyWallet() : agent(dir / "phone", dir / "phone.sock") {
        std::filesystem::create_directories(dir / "phone" / "fs");
        SecureBytes templates = PasswordBytes(kTemplatesPassword);
        std::string error;
        if (!CreateStoreFile(Fs("Tessera.dat"), StoreKind::Wallet, Password().data(), Password().size(),
                             error) ||
            !CreateStoreFile(Fs("Templates.dat"), StoreKind::Templates, templates.data(), templates.size(),
                             error) ||
            !agent.Start(error)) {
            std::cerr << error << "\n";
            std::exit(1);
        }
        empty = ReadBytes(Fs("Tessera.dat"));
        RapiSetTransport(std::make_shared<SocketTransport>(agent.Socket()));
        connection = std::make_unique<RapiConnection>();
    }
    ~EmptyWallet() {
        data.Reset();
        connection.reset();
        RapiSetTransport(nullptr);
        agent.Stop();
    }

    // The model over a wallet without cards.
    CData& Fresh() {
        data.Reset();
        WriteBytes(Fs("Tessera.dat"), empty);
        data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(u"\\Tessera.dat", kWalletFileType),
                       std::make_unique<CTesseraEncryptedLinkList>(u"\\Templates.dat", kTemplatesFileType));
        SecureBytes templates = PasswordBytes(kTemplatesPassword);
        if (data.WalletStore()->Open() != 0 || data.TemplateStore()->Open() != 0 ||
            !data.WalletStore()->CheckPassword(Password().data(), Password().size()) ||
            !data.TemplateStore()->CheckPassword(templates.data(), templates.size()) || !data.LoadCards() ||
            !data.LoadTemplatesAndCategories())
            std::exit(1);
        return data;
    }

private:
    std::filesystem::path Fs(const char* name) const { return dir / "phone" / "fs" / name; }

    TempDir dir;
    PhoneAgent agent;
    std::unique_ptr<RapiConnection> connection;
    std::vector<uint8_t> empty;
    CData data;
};

void ImportCsv(benchmark::State& state) {
    EmptyWallet wallet;
    const std::string csv = Csv();
    for (auto _ : state) {
        state.PauseTiming();
        CData& data = wallet.Fresh();
        state.ResumeTiming();
        ImportPlan plan = CsvImportPlan(data, csv, DefaultImportTemplate(data));
        if (!ApplyImport(data, plan).complete || data.cardCount() != kCards)
            state.SkipWithError("import failed");
    }
}

// The same cards, made from the file beforehand, added one by one.
void AddOneByOne(benchmark::State& state) {
    EmptyWallet wallet;
    const std::string csv = Csv();
    for (auto _ : state) {
        state.PauseTiming();
        CData& data = wallet.Fresh();
        ImportPlan plan = CsvImportPlan(data, csv, DefaultImportTemplate(data));
        for (size_t i = 0; i < plan.cards.size(); ++i) plan.Card(i);
        state.ResumeTiming();
        for (const ImportedCard& imported : plan.cards)
            if (!data.AddCard(*imported.card, data.TakeCardId())) state.SkipWithError("add failed");
    }
}

// Reading and mapping the file alone.
void PlanOnly(benchmark::State& state) {
    EmptyWallet wallet;
    const std::string csv = Csv();
    CData& data = wallet.Fresh();
    for (auto _ : state) benchmark::DoNotOptimize(CsvImportPlan(data, csv, DefaultImportTemplate(data)));
}

BENCHMARK(ImportCsv)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AddOneByOne)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlanOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RatioReporter reporter("", {{"ImportCsv/iterations:1/repeats:3/real_time",
                                 "AddOneByOne/iterations:1/repeats:3/real_time", "ImportCsv / AddOneByOne"}});
    return RunWithRatios(argc, argv, reporter);
}
