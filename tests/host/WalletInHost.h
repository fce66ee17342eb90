#pragma once
// The host with the real plug-in, started in a folder of the test's own; and the same host connected to
// a phone served by a real agent, holding a wallet of thirty cards (password "pass word").
#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/treectrl.h>
#include <wx/weakref.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "../rapi/AgentProcess.h"
#include "GuiTest.h"
#include "LoginExpectations.h"
#include "PhoneFolder.h"
#include "TestSupport.h"
#include "host/MainFrame.h"
#include "platform/rapi/api/RapiTransport.h"
#include "ui/resources/Resource.h"

inline const std::filesystem::path kPlugin = TESSERA_PLUGIN;

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
    // The host's link, and the plug-in's own copy of the link code, which finds the phone by the variable.
    void UsePhone(const std::string& setting) {
        RapiSetTransport(RapiTransportFromSetting(setting.c_str()));
        setenv("POCKETDECK_PHONE", setting.c_str(), 1);
    }
    void Start() {
        frame = new MainFrame({folder}, dir / "config" / "options.dat");
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

class TesseraWalletInHost : public TesseraInHost {
protected:
    void SetUp() override {
        TesseraInHost::SetUp();
        ASSERT_TRUE(MakePhone(dir / "phone"));
        ASSERT_TRUE(AddCards(dir / "phone", 30));
        ASSERT_NO_FATAL_FAILURE(PreparePhone());
        UsePhone("unix:" + (dir / "link" / "phone.sock").string());
        ASSERT_NO_FATAL_FAILURE(Serve());
        Start();
        ASSERT_TRUE(PumpUntil([&] { return Status() == "Phone connected"; }, 8000));
        PumpEvents();
    }
    // What the phone holds before the host first connects to it.
    virtual void PreparePhone() {}
    void Serve() {
        agent = std::make_unique<AgentProcess>(dir / "phone", dir / "link" / "phone.sock");
        ASSERT_TRUE(agent->Serving());
    }
    wxString Status() { return frame->GetStatusBar()->GetStatusText(); }
    std::filesystem::path PhoneFile(const std::string& name) {
        return dir / "phone" / "fs" / "Program Files" / "Tessera" / name;
    }
    wxTreeItemId Item(const wxString& text) {
        wxTreeItemIdValue cookie;
        wxTreeItemId product = Tree()->GetFirstChild(Tree()->GetRootItem(), cookie);
        for (wxTreeItemId item = Tree()->GetFirstChild(product, cookie); item.IsOk();
             item = Tree()->GetNextChild(product, cookie)) {
            if (Tree()->GetItemText(item) == text) return item;
        }
        return {};
    }
    // " Cards" chosen and the wallet's password typed.
    void Open() { wxTEST_DIALOG(Tree()->SelectItem(Item(" Cards")), TypePasswords({"pass word"})); }
    // A button of the plug-in's windows pressed.
    void Click(int id) {
        wxCommandEvent press(wxEVT_BUTTON, id);
        frame->FindWindow(id)->ProcessWindowEvent(press);
    }
    wxListCtrl* List() { return wxDynamicCast(frame->FindWindow(IDC_CARD_LIST), wxListCtrl); }
    // Another program holding the wallet on the phone until the descriptor is closed; -1 when it could not.
    int HoldWallet() {
        int holder = ::open(PhoneFile("Tessera.dat").c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        return holder >= 0 && ::fcntl(holder, F_OFD_SETLK, &lock) == 0 ? holder : -1;
    }
    // The lockout's remaining milliseconds in Options.dat on the phone.
    int32_t LockoutOnPhone() {
        std::vector<uint8_t> options = ReadBytes(PhoneFile("Options.dat"));
        int32_t remaining = 0;
        std::memcpy(&remaining, options.data() + kLockoutRemaining, sizeof remaining);
        return remaining;
    }
    void SetLockoutOnPhone(int32_t remaining) {
        std::vector<uint8_t> options = ReadBytes(PhoneFile("Options.dat"));
        std::memcpy(options.data() + kLockoutRemaining, &remaining, sizeof remaining);
        WriteBytes(PhoneFile("Options.dat"), options);
    }

    static constexpr size_t kLockoutRemaining = 0x14;
    std::unique_ptr<AgentProcess> agent;
    std::vector<wxString> told;
};
