// Opening a 10,000-card wallet in the real host window: the phone connected over the socket link, the
// " Cards" item chosen, the password typed into the login dialog, the cards listed. The baseline is the
// same work without any window: the two stores opened over the same link, the password checked, the
// model loaded and arranged. Then one keystroke in the find box over the 10,000 cards, against the
// model's own filter and sort. Runs under a display (xvfb-run).

#include <benchmark/benchmark.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include <thread>

#include "GuiTest.h"
#include "LoginExpectations.h"
#include "TestSupport.h"
#include "WxBenchmark.h"
#include "host/MainFrame.h"
#include "model/Data.h"
#include "phone/PhoneAgent.h"
#include "platform/rapi/client/SocketTransport.h"
#include "store/PasswordBytes.h"
#include "ui/resources/Resource.h"

namespace {

constexpr int kCards = 10000;
constexpr char kPassword[] = "bench";
const std::filesystem::path kPlugin = TESSERA_PLUGIN;

// A phone with the wallet, served in process, and the host with the plug-in on it.
class BenchHost {
public:
    BenchHost() {
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        std::string phone = (dir / "phone").string();
        std::string made = RunShell(std::string("echo ") + kPassword + " | " TESSERA_PHONE_EXE " init " +
                                    phone + " && echo " + kPassword + " | " TESSERA_PHONE_EXE " generate " +
                                    phone + " --cards " + std::to_string(kCards))
                               .text;
        agent = std::make_unique<PhoneAgent>(dir / "phone", dir / "link" / "phone.sock");
        std::string error;
        if (!agent->Start(error)) throw std::runtime_error(made + error);
        RapiSetTransport(std::make_shared<SocketTransport>(agent->Socket()));
        std::string link = "unix:" + agent->Socket().string();
        setenv("POCKETDECK_PHONE", link.c_str(), 1);  // the plug-in's own copy of the link
        std::filesystem::create_directories(dir / "plugins");
        std::filesystem::copy_file(kPlugin, dir / "plugins" / kPlugin.filename());
        std::filesystem::copy(kPlugin.parent_path() / "tessera-pages", dir / "plugins" / "tessera-pages");
        frame = new MainFrame({dir / "plugins"}, dir / "config" / "options.dat");
        frame->Show();
        PumpUntil([this] { return frame->GetStatusBar()->GetStatusText() == "Phone connected"; }, 10000);
    }
    ~BenchHost() {
        frame->Close(true);
        PumpEvents();
        agent->Stop();
        RapiSetTransport(nullptr);
    }

    // The phone goes and comes back: the session starts again from nothing.
    void Reconnect() {
        uint32_t version[4] = {1, 0, 1, 519};
        std::vector<uint32_t> ready(plugin::kMessageWords, 0);
        ready[plugin::kMessageStatus] = plugin::kAppNotRunning;
        frame->Plugins().ForEach([&](const PluginEntryPoints& call) {
            call.onStateChange(plugin::kStateDisconnected);
            call.onStateChange(plugin::kStateConnected);
            call.onSetUpChange(plugin::kSetUpPhone, version);
            call.cpu(ready.data());
        });
    }
    void OpenCards() {
        wxTreeCtrl* tree = wxDynamicCast(frame->FindWindow(IDC_NAV_TREE), wxTreeCtrl);
        wxTreeItemIdValue cookie;
        wxTreeItemId product = tree->GetFirstChild(tree->GetRootItem(), cookie);
        wxTreeItemId cards = tree->GetFirstChild(product, cookie);
        wxTEST_DIALOG(tree->SelectItem(cards), TypePasswords({kPassword}));
    }
    wxListCtrl* List() { return wxDynamicCast(frame->FindWindow(IDC_CARD_LIST), wxListCtrl); }
    void Route(int id, int code, wxCommandEvent* event) {
        frame->Plugins().ForEach(
            [&](const PluginEntryPoints& call) { call.pluginProc(id, code, event, nullptr); });
    }

    TempDir dir;
    std::unique_ptr<PhoneAgent> agent;
    MainFrame* frame = nullptr;
};

BenchHost& Host() {
    return LazyFixture<BenchHost>();
}

void BM_OpenInHost(benchmark::State& state) {
    BenchHost& host = Host();
    for (auto _ : state) {
        host.Reconnect();
        host.OpenCards();
        if (!host.List() || host.List()->GetItemCount() != kCards)
            state.SkipWithError("the cards are not listed");
    }
}
BENCHMARK(BM_OpenInHost)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same stores over the same link, read on a worker as the plug-in does, and the model.
void LoadModel(CData& data, const std::filesystem::path& installDir) {
    std::u16string dir = u"\\Program Files\\Tessera\\";
    data.Reset();
    data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(dir + u"Tessera.dat", 0),
                   std::make_unique<CTesseraEncryptedLinkList>(dir + u"Templates.dat", 1));
    std::thread([&] {
        RapiConnection connection;
        data.WalletStore()->Open();
        data.TemplateStore()->Open();
    }).join();
    SecureBytes password = PasswordBytes(u"bench");
    SecureBytes builtIn = PasswordBytes(kTemplatesPassword);
    data.WalletStore()->CheckPassword(password.data(), password.size());
    data.TemplateStore()->CheckPassword(builtIn.data(), builtIn.size());
    data.LoadCards();
    data.LoadTemplatesAndCategories();
    data.ArrangeCards(kAllCategories, CardSortKey::Name, true);
    (void)installDir;
}

void BM_OpenWithoutWindow(benchmark::State& state) {
    Host();
    CData data;
    for (auto _ : state) {
        LoadModel(data, {});
        if (data.cardCount() != kCards) state.SkipWithError("the cards did not load");
    }
    data.Reset();
}
BENCHMARK(BM_OpenWithoutWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke: the find box's text changes and the card list is filtered and rebuilt.
void BM_FindKeystrokeInHost(benchmark::State& state) {
    BenchHost& host = Host();
    if (!host.List()) host.OpenCards();
    host.Route(ID_FIND, plugin::kCodeCommand, nullptr);
    wxCommandEvent typed(wxEVT_TEXT, ID_FIND_BOX);
    int i = 0;
    for (auto _ : state) {
        typed.SetString(i++ % 2 ? "Card 3" : "Card 4");
        host.Route(ID_FIND_BOX, plugin::kCodeEditChange, &typed);
        host.List()->Update();
    }
    host.Route(ID_FIND, plugin::kCodeCommand, nullptr);
}
BENCHMARK(BM_FindKeystrokeInHost)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindWithoutWindow(benchmark::State& state) {
    Host();
    CData data;
    LoadModel(data, {});
    data.SetFind(true);
    int i = 0;
    for (auto _ : state) {
        data.SetFindText(i++ % 2 ? u"Card 3" : u"Card 4");
        benchmark::DoNotOptimize(data.ArrangeCards(kAllCategories, CardSortKey::Name, true));
    }
    data.Reset();
}
BENCHMARK(BM_FindWithoutWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return RunInWxApp<BenchHost>(argc, argv);
}
