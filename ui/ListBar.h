#pragma once
// The list pane: a dockable pane of the host frame that shows the wallet's cards, templates,
// categories or backups, and handles most of the plug-in's commands.
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <functional>

#include "model/ModelListener.h"
#include "ui/ItemView.h"
#include "ui/ListContent.h"

class CMyIconList;
class wxChoice;
class wxComboBox;

class CListBar : public wxPanel, public ModelListener {
public:
    // What the pane needs from the plug-in around it.
    struct Links {
        CData* data = nullptr;
        const CTesseraBackup* backups = nullptr;
        CMyIconList* icons = nullptr;
        std::function<void()> lock;       // the wallet lock the Lock Wallet command asks for
        std::function<void()> showCards;  // the navigation pane switched to the card list
    };

    CListBar(wxWindow* parent, Links links);
    ~CListBar() override;

    // Switches to a list kind and rebuilds it; row 0 selected and focused.
    void ShowList(ListPage kind);
    // Offered every command the host routes to the plug-in; true when handled.
    bool OnCommand(int id, int code, void* extra);
    // True while the pane runs a long operation of its own (the wallet lock waits for it).
    bool IsBusy() const { return busy; }
    // Ends a dialog the pane has open (the wallet lock); none stays open today.
    void EndOwnDialog() {}
    void SetItemView(ItemView* shown) { view = shown; }

    const ListContent& Content() const { return content; }
    wxListCtrl* List() const;
    wxChoice* FilterBox() const { return filterBox; }
    const wxString& Title() const { return title; }
    // The item the selected and focused row stands for, as last told.
    const ListItem& Selection() const { return selection; }

    void RowChanged(ListKind kind, int32_t id) override;
    void CategoryAdded(int32_t id, const std::u16string& name) override;
    void CategoryRenamed(int32_t id, const std::u16string& name) override;
    void CategoryRemoved(int32_t id) override;
    void CategoriesReloaded() override;

private:
    void BuildColumns();
    void RefillRows();
    void SelectFirstRow();
    void UpdateTitle();
    void SetHeaderText(int column, const wxString& text);
    void LayoutList();
    void Arrange(CardSortKey key);
    void ToggleFind();
    wxComboBox* FindBox() const;
    void FindTextChanged(const wxString& text);
    void OnHeaderClick(wxListEvent& event);
    void OnRowFocused(wxListEvent& event);
    void ShowOnView(const ListItem& item);
    void OnFilterChosen(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);

    Links links;
    ListContent content;
    class RowsView* list = nullptr;
    wxChoice* filterBox = nullptr;
    wxString title;
    ListItem selection;
    ItemView* view = nullptr;
    bool findMode = false;
    bool notify = true;
    bool busy = false;
};
