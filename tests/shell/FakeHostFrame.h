#pragma once
// A host frame with the seven windows a plug-in is given, as the host builds them: menu bar, toolbar,
// status bar, a navigation book, a web view with the main-view id, and a strip window.
#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/listbook.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "shell/PluginExports.h"
#include "ui/Resource.h"

// Counts navigations, so that tests can tell a page that was loaded again from one left alone.
class CountingWebView : public wxHtmlWindow {
public:
    explicit CountingWebView(wxWindow* parent) : wxHtmlWindow(parent) {
        SetId(AFX_IDW_PANE_FIRST);  // above wx's range for new windows, so given after creation
    }
    bool LoadPage(const wxString& location) override {
        ++loads;
        return wxHtmlWindow::LoadPage(location);
    }
    int loads = 0;
};

class FakeHostFrame : public wxFrame {
public:
    FakeHostFrame() : wxFrame(nullptr, wxID_ANY, "host", wxDefaultPosition, wxSize(900, 600)) {
        manager.SetManagedWindow(this);
        SetMenuBar(new wxMenuBar);
        GetMenuBar()->Append(new wxMenu, "&Host");
        CreateToolBar();
        CreateStatusBar();
        navBar = new wxListbook(this, wxID_ANY);
        navBar->AddPage(new wxPanel(navBar), "Phone");
        webView = new CountingWebView(this);
        strip = new wxPanel(this, wxID_ANY);
        strip->Hide();
        manager.AddPane(navBar, wxAuiPaneInfo().Name("nav").Left().BestSize(220, -1));
        manager.AddPane(webView, wxAuiPaneInfo().Name("centre").CenterPane());
        manager.Update();
        Show();
    }
    ~FakeHostFrame() override { manager.UnInit(); }

    int Init(HostRequestProc request = nullptr) {
        return InitPlugin(this, GetMenuBar(), GetToolBar(), GetStatusBar(), navBar, webView, strip, request);
    }

    wxAuiManager manager;
    wxListbook* navBar = nullptr;
    CountingWebView* webView = nullptr;
    wxPanel* strip = nullptr;
};
