// The main view over a wallet served through the socket link: showing a card of 50 fields (its record
// read, its rows made and laid out) beside reading the same record alone, and saving a change of it
// from the view (collecting the rows, the write) beside the model's own write of the same card. Runs
// under a display (xvfb-run).

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include "RatioReporter.h"
#include "TestSupport.h"
#include "WxBenchmark.h"
#include "model/Data.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"
#include "phone/PhoneAgent.h"
#include "phone/PhoneSetup.h"
#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/client/SocketTransport.h"
#include "store/PasswordBytes.h"
#include "ui/controls/MyIconList.h"
#include "ui/panes/FormWnd.h"
#include "ui/panes/MyView.h"
#include "ui/resources/Resource.h"

namespace {

constexpr int kFields = 50;

// A phone with a wallet served in process, the model open on it with one 50-field card, and the view.
class BenchView {
public:
    BenchView() {
        const SecureBytes password = PasswordBytes(u"bench");
        std::string error;
        if (InitPhone(dir / "phone", kDefaultInstallPath, &password, error) != 0)
            throw std::runtime_error(error);
        agent = std::make_unique<PhoneAgent>(dir / "phone", dir / "phone.sock");
        if (!agent->Start(error)) throw std::runtime_error(error);
        RapiSetTransport(std::make_shared<SocketTransport>(agent->Socket()));
        connection = std::make_unique<RapiConnection>();
        const std::u16string folder = u"\\Program Files\\Tessera\\";
        data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(folder + u"Tessera.dat", 0),
                       std::make_unique<CTesseraEncryptedLinkList>(folder + u"Templates.dat", 1));
        const SecureBytes builtIn = PasswordBytes(kTemplatesPassword);
        if (data.WalletStore()->Open() != 0 || data.TemplateStore()->Open() != 0 ||
            !data.WalletStore()->CheckPassword(password.data(), password.size()) ||
            !data.TemplateStore()->CheckPassword(builtIn.data(), builtIn.size()) || !data.LoadCards() ||
            !data.LoadTemplatesAndCategories())
            throw std::runtime_error("the wallet did not open");
        card = NewBlankCard();
        for (int i = 1; i < kFields; ++i) {
            ItemField field;
            field.type = static_cast<uint32_t>(i % 8);
            field.SetName(u"Field " + std::u16string(1, char16_t(u'A' + i % 26)));
            if (!IsTimeField(field.type)) SetFieldText(field, u"value of the field");
            card->fields.AddTail(std::move(field));
        }
        id = data.TakeCardId();
        if (!data.AddCard(*card, id)) throw std::runtime_error("the card was not added");
        icons.Create();
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(700, 700));
        view = new CMyView(frame, {&data, &icons, {*wxNORMAL_FONT, *wxNORMAL_FONT, *wxNORMAL_FONT}});
        view->InitialUpdate();
        view->Show();
        frame->Show();
    }
    ~BenchView() {
        frame->Destroy();
        wxTheApp->ProcessPendingEvents();
        data.Reset();
        connection.reset();
        RapiSetTransport(nullptr);
        agent->Stop();
    }

    TempDir dir;
    std::unique_ptr<PhoneAgent> agent;
    std::unique_ptr<RapiConnection> connection;
    CData data;
    std::unique_ptr<CTesseraItem> card;
    uint32_t id = 0;
    CMyIconList icons;
    wxFrame* frame = nullptr;
    CMyView* view = nullptr;
};

BenchView& Bench() {
    return LazyFixture<BenchView>();
}

void BM_ReadCard(benchmark::State& state) {
    BenchView& b = Bench();
    for (auto _ : state) benchmark::DoNotOptimize(b.data.ReadCardRecord(b.id));
}
BENCHMARK(BM_ReadCard)->Unit(benchmark::kMillisecond);

void BM_ShowCard(benchmark::State& state) {
    BenchView& b = Bench();
    for (auto _ : state) {
        b.view->SwitchPane(ListKind::None);
        b.view->ShowCard(int32_t(b.id), false, -1, false);
        b.view->Form()->LayoutRows();
        if (b.view->Form()->Rows().size() != kFields - 1) state.SkipWithError("the rows are not shown");
    }
}
BENCHMARK(BM_ShowCard)->Unit(benchmark::kMillisecond);

// The first card a new view shows: the rows in view are made, with all their controls. With editing,
// the first Edit of that card is timed instead: every row is made, and the DATE and TIME rows' pickers.
void ShowInNewView(benchmark::State& state, bool editing) {
    BenchView& b = Bench();
    for (auto _ : state) {
        auto* view =
            new CMyView(b.frame, {&b.data, &b.icons, {*wxNORMAL_FONT, *wxNORMAL_FONT, *wxNORMAL_FONT}});
        view->InitialUpdate();
        if (editing) state.PauseTiming();
        view->ShowCard(int32_t(b.id), false, -1, false);
        view->Form()->LayoutRows();
        if (editing) {
            state.ResumeTiming();
            view->StartEditing();
            view->Form()->LayoutRows();
        }
        state.PauseTiming();
        view->Destroy();
        wxTheApp->ProcessPendingEvents();
        state.ResumeTiming();
    }
}

void BM_ShowCardFirst(benchmark::State& state) {
    ShowInNewView(state, false);
}
BENCHMARK(BM_ShowCardFirst)->Unit(benchmark::kMillisecond);

void BM_EditCardFirst(benchmark::State& state) {
    ShowInNewView(state, true);
}
BENCHMARK(BM_EditCardFirst)->Unit(benchmark::kMillisecond);

void BM_UpdateCard(benchmark::State& state) {
    BenchView& b = Bench();
    int i = 0;
    for (auto _ : state) {
        SetItemName(*b.card, i++ % 2 ? u"Card one" : u"Card two");
        if (!b.data.UpdateCard(*b.card, b.id)) state.SkipWithError("the card was not written");
    }
}
BENCHMARK(BM_UpdateCard)->Unit(benchmark::kMillisecond);

void BM_SaveCardFromView(benchmark::State& state) {
    BenchView& b = Bench();
    b.view->ShowCard(int32_t(b.id), false, -1, false);
    auto* name = static_cast<wxTextCtrl*>(b.view->FindWindow(IDC_NAME_BOX));
    int i = 0;
    for (auto _ : state) {
        b.view->StartEditing();
        name->ChangeValue(i++ % 2 ? "Card one" : "Card two");
        if (!b.view->Save()) state.SkipWithError("the card was not saved");
    }
}
BENCHMARK(BM_SaveCardFromView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RatioReporter reporter("the view against the same record's read or write alone",
                           {{"BM_ShowCard", "BM_ReadCard"}, {"BM_SaveCardFromView", "BM_UpdateCard"}},
                           RatioReporter::RealTime);
    return RunInWxApp<BenchView>(argc, argv, &reporter);
}
