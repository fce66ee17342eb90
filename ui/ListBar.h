#pragma once
// The list pane: a dockable pane of the host frame that shows the wallet's cards, templates,
// categories or backups, and handles most of the plug-in's commands.
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <functional>
#include <optional>

#include "model/ModelListener.h"
#include "ui/CommandRules.h"
#include "ui/ItemView.h"
#include "ui/ListContent.h"
#include "ui/ListRows.h"

class CMyIconList;
class SessionGate;
class wxChoice;
class wxComboBox;

class CListBar : public wxPanel, public ModelListener, public ListRows {
public:
    // What the pane needs from the plug-in around it.
    struct Links {
        CData* data = nullptr;
        const CTesseraBackup* backups = nullptr;
        CMyIconList* icons = nullptr;
        std::function<void()> lock;              // the wallet lock the Lock Wallet command asks for
        std::function<void(ListPage)> showPage;  // the navigation pane switched to a list (its page runs)
        std::function<bool()> walletOpen;        // a wallet is open and not locked
        // A deleted backup: its file on the phone, on the deleting worker over its connection (true when
        // it went), then its entry in the backup list, on the user-interface thread.
        std::function<bool(const std::u16string&)> deleteBackupFile;
        std::function<void(const std::u16string&)> forgetBackup;
        SessionGate* gate = nullptr;  // held while a deletion runs
    };

    CListBar(wxWindow* parent, Links links);
    ~CListBar() override;

    // Switches to a list kind and rebuilds it; row 0 selected and focused. False, and nothing changed,
    // when the main view keeps its record (its unsaved changes could not be saved).
    bool ShowList(ListPage kind);
    // Offered every command the host routes to the plug-in; true when handled.
    bool OnCommand(int id, int code, void* extra);
    // True while the pane runs a long operation of its own (the wallet lock waits for it).
    bool IsBusy() const { return busy; }
    // Ends a dialog the pane has open with IDLOCKED (the wallet lock).
    void EndOwnDialog();
    void SetItemView(ItemView* shown) { view = shown; }
    // The state the enabling rules look at.
    CommandState State() const;

    void RemoveRow(ListPage kind, int32_t id) override;
    void UpdateRow(ListPage kind, int32_t id) override;
    int RowCount() const override { return content.RowCount(); }
    void SelectFirstRow() override;
    void SelectRecord(ListPage kind, int32_t id) override;
    void Reload() override;

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
    void SelectOnly(long row);
    void KeepShownSelected();
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
    void ResetViewFor(ListPage kind);

    // The commands (ListBarCommands.cpp).
    bool RunListCommand(int id);
    bool TextShortcut(int id, const wxCommandEvent* event);
    void ApplyRule(wxUpdateUIEvent& event);
    bool ShowPage(ListPage kind);
    void NewItem(ListPage kind, bool fromContextMenu);
    std::optional<card_info_struct> NewCard();
    void AddNewRow(const card_info_struct& row, bool byName);
    // The template dialog's choice: a template id or the empty card (-1); none when it was cancelled.
    std::optional<int32_t> ChooseTemplate();
    void Delete();
    bool ConfirmDelete();
    bool ConfirmDeleteCategory();
    bool EraseItem(const ListItem& item);
    void RemoveDeletedRow(int row);
    std::vector<int> SelectedRows() const;
    void SelectAll();
    void Invert();
    void SaveAsTemplate();
    void OnContextMenu(wxContextMenuEvent& event);
    void PopupWithRules(wxMenu* menu);
    void OnListKey(wxListEvent& event);

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
    std::function<void()> endOwnDialog;  // while a dialog of the pane is open: ends it as no choice
    bool deleteCategoryCards = false;
};
