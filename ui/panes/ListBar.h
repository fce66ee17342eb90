#pragma once
// The list pane: a dockable pane of the host frame that shows the wallet's cards, templates,
// categories or backups, and hands most of the plug-in's commands to its ListCommands.
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <functional>
#include <optional>
#include <vector>

#include "model/ModelListener.h"
#include "ui/rules/CommandRules.h"
#include "ui/rules/ItemView.h"
#include "ui/rules/ListCommands.h"
#include "ui/rules/ListContent.h"
#include "ui/rules/ListRows.h"

class BackupActions;
class CMyIconList;
class wxChoice;
class wxComboBox;

class CListBar : public wxPanel, public ModelListener, public ListRows, private ListScreen {
public:
    // What the pane needs from the plug-in around it.
    struct Links {
        ListCommands::Links commands;
        const CTesseraBackup* backups = nullptr;
        CMyIconList* icons = nullptr;
        BackupActions* backupActions = nullptr;  // the Backup command's; none: it does nothing
    };

    CListBar(wxWindow* parent, Links links);
    ~CListBar() override;

    // Switches to a list kind and rebuilds it; row 0 selected and focused. False, and nothing changed,
    // when the main view keeps its record (its unsaved changes could not be saved).
    bool ShowList(ListKind kind);
    // Offered every command the host routes to the plug-in; true when handled.
    bool OnCommand(int id, int code, void* extra);
    // True while the pane runs a long operation of its own (the wallet lock waits for it).
    bool IsBusy() const { return commands.Busy(); }
    // Ends a dialog the pane has open with IDLOCKED (the wallet lock).
    void EndOwnDialog();
    CommandState State() const { return commands.State(); }

    void RemoveRow(ListKind kind, int32_t id) override;
    void UpdateRow(ListKind kind, int32_t id) override;
    int RowCount() const override { return content.RowCount(); }
    void SelectFirstRow() override;
    void SelectRecord(ListKind kind, int32_t id) override;
    void Reload() override;

    const ListContent& Content() const { return content; }
    wxListCtrl* List() const;
    wxChoice* FilterBox() const { return filterBox; }
    const wxString& Title() const { return title; }
    // The item the selected and focused row stands for, as last told.
    const ListItem& Selection() const { return commands.Selection(); }

    void RowChanged(ListKind kind, int32_t id) override;
    void CategoryAdded(int32_t id, const std::u16string& name) override;
    void CategoryRenamed(int32_t id, const std::u16string& name) override;
    void CategoryRemoved(int32_t id) override;
    void CategoriesReloaded() override;

private:
    void BuildColumns();
    void RefillRows();
    void UpdateTitle();
    void SetHeaderText(int column, const wxString& text);
    void LayoutList();
    void Arrange(CardSortKey key);
    wxComboBox* FindBox() const;
    void OnHeaderClick(wxListEvent& event);
    void OnRowFocused(wxListEvent& event);
    void OnFilterChosen(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);

    // What the commands ask of the window (ListBarScreen.cpp).
    bool Visible() const override { return IsShownOnScreen(); }
    std::vector<int> SelectedRows() const override;
    int FocusedRow() const override;
    void Select(const std::vector<int>& rows, int focus) override;
    void RowsChanged() override;
    void RowDeleted(int row) override;
    std::u16string Text(unsigned id) const override;
    bool Ask(unsigned text, unsigned caption) override;
    void Tell(unsigned text) override;
    std::optional<bool> AskDeleteCategory() override;
    std::optional<int32_t> ChooseTemplate() override;
    void RunWithProgress(const std::function<void()>& work) override;
    void OnScreenThread(const std::function<void()>& work) override;
    void ClearFindBox() override;
    void FocusFindBox() override;
    void OnFindBoxKey(wxKeyEvent& event);
    void Backup() override;
    void Export() override;
    void Import() override;
    void ShowPane(bool show) override;

    bool TextShortcut(int id, const wxCommandEvent* event);
    void ApplyRule(wxUpdateUIEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void PopupWithRules(wxMenu* menu);
    void OnListKey(wxListEvent& event);

    Links links;
    ListContent content;
    ListCommands commands;
    class RowsView* list = nullptr;
    wxChoice* filterBox = nullptr;
    wxString title;
    bool notify = true;
    bool findBoxBound = false;
    std::function<void()> endOwnDialog;  // while a dialog of the pane is open: ends it as no choice
};
