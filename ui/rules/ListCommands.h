#pragma once
// The list pane's commands without a window: New, Delete (on a worker, from the last row up), Select
// All, Invert, Save as Template, Find, Backup, Export, Import and Lock Wallet; when each may run; and which
// row stands selected for the record the main view shows.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/rules/CommandRules.h"
#include "ui/rules/ListContent.h"

class CData;
class ItemView;
class SessionGate;

// What the commands ask of the window that shows the rows.
class ListScreen {
public:
    virtual ~ListScreen() = default;
    virtual bool Visible() const = 0;
    // Ascending.
    virtual std::vector<int> SelectedRows() const = 0;
    // -1 for none.
    virtual int FocusedRow() const = 0;
    // Exactly rows selected, focus on focus (-1: none) and in sight; the main view is not told.
    virtual void Select(const std::vector<int>& rows, int focus) = 0;
    // The rows were rebuilt or their number changed: the window and its title follow.
    virtual void RowsChanged() = 0;
    // The content dropped the row: the window drops it too.
    virtual void RowDeleted(int row) = 0;
    // A text of the string table; a Yes/No question and a message of it.
    virtual std::u16string Text(unsigned id) const = 0;
    virtual bool Ask(unsigned text, unsigned caption) = 0;
    virtual void Tell(unsigned text) = 0;
    // "Delete Category": whether the category's cards go too; none when cancelled.
    virtual std::optional<bool> AskDeleteCategory() = 0;
    // "Select Template": a template id, or -1 for the empty card; none when cancelled or ended by a lock.
    virtual std::optional<int32_t> ChooseTemplate() = 0;
    // Runs work on a worker while a progress window shows and the frame takes no input.
    virtual void RunWithProgress(const std::function<void()>& work) = 0;
    // From the worker: runs work on the window's thread and returns when it has run.
    virtual void OnScreenThread(const std::function<void()>& work) = 0;
    virtual void ClearFindBox() = 0;
    // Find is on: the find box takes the keys.
    virtual void FocusFindBox() = 0;
    virtual void Backup() = 0;
    virtual void Export() = 0;
    virtual void Import() = 0;
    // The pane in the frame, shown or closed.
    virtual void ShowPane(bool show) = 0;
};

class ListCommands {
public:
    struct Links {
        CData* data = nullptr;
        std::function<void()> lock;              // the wallet lock Lock Wallet asks for
        std::function<void(ListKind)> showPage;  // the navigation pane switched to a list (its page runs)
        std::function<bool()> walletOpen;        // a wallet is open and not locked
        // A deleted backup: its file on the phone, on the deleting worker (true when it went), then its
        // entry in the backup list, on the window's thread.
        std::function<bool(const std::u16string&)> deleteBackupFile;
        std::function<void(const std::u16string&)> forgetBackup;
        SessionGate* gate = nullptr;      // held while a deletion runs, and its worker's phone connection
        std::function<ItemView*()> view;  // the main view, made after the list pane: null until then
    };

    ListCommands(ListContent& content, ListScreen& screen, Links links)
        : content(content), screen(screen), links(std::move(links)) {}
    ItemView* View() const { return links.view ? links.view() : nullptr; }
    CData& Data() const { return *links.data; }

    CommandState State() const;
    // Runs one of the pane's commands; false for a command that is not one. A command that may not run
    // now is swallowed, whichever way it came.
    bool Run(int id);

    // The find box's text, and the filter box's category.
    void FindText(const std::u16string& text);
    void FilterChosen(int32_t category);
    // The user put the selection on row: the view shows its item (a pending row's record it shows already).
    void RowFocused(int row);
    // The rows were rebuilt: the record the view shows stays selected while it is listed; otherwise no
    // row is selected and the view shows nothing.
    void KeepShownSelected();
    // After a reload: the selected item, when still listed, is selected again; the view is not told.
    void Reselect();
    void SelectRecord(ListKind kind, int32_t id);
    // The view shows nothing of that kind.
    void ResetView(ListKind kind);

    const ListItem& Selection() const { return selection; }
    bool Busy() const { return busy; }
    bool FindMode() const { return findMode; }

private:
    bool ShowPage(ListKind kind);
    void ShowOnView(const ListItem& item);
    void NewItem(ListKind kind, bool fromContextMenu);
    std::optional<card_info_struct> NewCard();
    std::optional<card_info_struct> NewRecord(ListKind kind, int32_t id);
    card_info_struct NewRow(int32_t id, ListKind kind) const;
    void AddNewRow(const card_info_struct& row, bool byName);
    void Delete();
    bool ConfirmDelete();
    bool EraseItem(const ListItem& item);
    void RemoveDeletedRow(int row);
    void SelectAll();
    void Invert();
    void SaveAsTemplate();
    void ToggleFind();
    void SelectOnly(int row);

    ListContent& content;
    ListScreen& screen;
    Links links;
    ListItem selection;
    bool busy = false;
    bool findMode = false;
    bool deleteCategoryCards = false;
};
