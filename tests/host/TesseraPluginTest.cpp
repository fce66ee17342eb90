// The host with the real plug-in library: only the twelve entry points are exported, the plug-in's
// page, menu and toolbar come and go with the switching, the phone connects, and exit unloads it.
#include <gtest/gtest.h>
#include <signal.h>
#include <wx/bookctrl.h>
#include <wx/html/htmlwin.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/weakref.h>

#include <set>
#include <sstream>

#include "../rapi/AgentProcess.h"
#include "GuiTest.h"
#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/MainFrame.h"
#include "platform/rapi/RapiTransport.h"
#include "ui/Resource.h"

namespace {

const std::filesystem::path kPlugin = TESSERA_PLUGIN;

TEST(TesseraPluginLibrary, ExportsTheTwelveEntryPointsAndNothingElse) {
    ShellResult listed = RunShell("nm -D --defined-only " + kPlugin.string());
    ASSERT_EQ(listed.status, 0) << listed.text;
    std::set<std::string> exported;
    std::istringstream lines(listed.text);
    std::string address, type, name;
    while (lines >> address >> type >> name) exported.insert(name);
    EXPECT_EQ(exported,
              (std::set<std::string>{"CPU", "CreateOptionsDialog", "GetPluginInfo", "HidePlugin",
                                     "InitPlugin", "OnOptionsChanged", "OnSetUpChange", "OnStateChange",
                                     "PluginProc", "SetSleepTickCount", "ShowPlugin", "UnInitPlugin"}));
}

class TesseraInHost : public testing::Test {
protected:
    void SetUp() override {
        // The plug-in keeps its idle minutes in the host's options file: here, one of the test's own.
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(kPlugin, folder / kPlugin.filename());
        std::filesystem::copy(kPlugin.parent_path() / "tessera-pages", folder / "tessera-pages");
        UsePhone("unix:" + (dir / "nobody.sock").string());
    }
    void TearDown() override {
        if (frame) frame->Close(true);
        EXPECT_TRUE(PumpUntil([this] { return !frame; }));
        RapiSetTransport(nullptr);
    }
    void UsePhone(const std::string& setting) { RapiSetTransport(RapiTransportFromSetting(setting.c_str())); }
    void Start() {
        frame = new MainFrame(folder, dir / "config" / "options.dat");
        frame->Show();
        PumpEvents();
    }
    wxBookCtrlBase* Book() { return frame->Windows().book; }
    wxString FirstMenu() { return frame->GetMenuBar()->GetMenuLabel(0); }
    wxTreeCtrl* Tree() { return wxDynamicCast(frame->FindWindow(IDC_NAV_TREE), wxTreeCtrl); }

    TempDir dir;
    std::filesystem::path folder = dir / "plugins";
    wxWeakRef<MainFrame> frame;
};

TEST_F(TesseraInHost, LoadsSwitchesAndUnloads) {
    Start();
    ASSERT_EQ(Book()->GetPageCount(), 2u);
    EXPECT_EQ(Book()->GetPageText(1), "Tessera");
    EXPECT_EQ(Book()->GetSelection(), 1);
    ASSERT_NE(Tree(), nullptr);
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Pocketdeck");
    EXPECT_NE(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);
    EXPECT_NE(frame->GetMenuBar()->FindItem(ID_VISIT_WEBSITE), nullptr);

    Book()->SetSelection(0);
    PumpEvents();
    EXPECT_EQ(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);
    EXPECT_EQ(frame->GetMenuBar()->FindItem(ID_VISIT_WEBSITE), nullptr);
    EXPECT_TRUE(frame->Windows().webView->IsShown());
    Book()->SetSelection(1);
    PumpEvents();
    EXPECT_NE(frame->GetToolBar()->FindById(ID_LOCK_WALLET), nullptr);

    wxCommandEvent exit(wxEVT_MENU, ID_APP_EXIT);
    exit.SetEventObject(frame);
    frame->ProcessWindowEvent(exit);
    EXPECT_TRUE(PumpUntil([this] { return !frame; }));
}

TEST_F(TesseraInHost, ThePhoneConnectingAndGoingAwayReturnsToTheStartPage) {
    ASSERT_TRUE(MakePhone(dir / "phone"));
    AgentProcess agent(dir / "phone", dir / "link" / "phone.sock");
    ASSERT_TRUE(agent.Serving());
    UsePhone("unix:" + (dir / "link" / "phone.sock").string());
    Start();
    ASSERT_TRUE(PumpUntil([&] { return frame->GetStatusBar()->GetStatusText() == "Phone connected"; }, 8000));
    wxTreeItemId root = Tree()->GetRootItem();
    wxTreeItemIdValue cookie;
    wxTreeItemId product = Tree()->GetFirstChild(root, cookie);
    Tree()->SelectItem(Tree()->GetFirstChild(product, cookie));
    EXPECT_EQ(Tree()->GetItemText(Tree()->GetSelection()), " Cards");

    agent.Signal(SIGKILL);
    ASSERT_TRUE(agent.WaitForEnd());
    ASSERT_TRUE(
        PumpUntil([&] { return frame->GetStatusBar()->GetStatusText() == "No phone connected"; }, 5000));
    EXPECT_EQ(Tree()->GetSelection(), Tree()->GetRootItem());
}

}  // namespace
