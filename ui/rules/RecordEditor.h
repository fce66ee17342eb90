#pragma once
// The main view's editing rules, without a window: the record shown (a card, a template or a category),
// its mode, the question in progress, and what each thing the user or the session does means for them.
//
//   Empty ──show──► Viewing ──Edit──► Editing ──Save ok──► Viewing (the record as the phone now holds it)
//                      ▲                 │ Save refused: Editing, the user's values kept; refused because
//                      │                 │   another program changed the wallet: the model is read again
//                      └──Cancel / No────┘   and the user's changes are carried onto the stored record
//   a new record: EditingNew ──Save ok──► Viewing; Cancel, No or a lock drop it and its row
//
// Another record, another pane or hiding the plug-in asks first about unsaved changes: Yes saves, No
// reads the stored record again. The question holds the session's gate, so a lock or a reset waits for
// the answer. A lock keeps a changed card as a draft and drops other changes; no card stays in memory.
// A save is refused, with a message saying what to change, while a name is blank or repeated (NameRules);
// a lock's draft is saved all the same, so that nothing typed is lost.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/ModelRecords.h"
#include "store/TesseraItem.h"
#include "ui/rules/ItemView.h"

class CData;
class ListRows;
class SessionGate;

enum class EditMode { Empty, Viewing, Editing, EditingNew };

// What the editor asks of the window that shows it.
class EditorScreen {
public:
    virtual ~EditorScreen() = default;
    // Shows the editor's pane, record and mode; reload when the record itself was replaced.
    virtual void Present(bool reload) = 0;
    // Writes the user's values on screen into the shown record (RecordEditor::Edited, CollectName);
    // true when any differed from it.
    virtual bool Collect() = 0;
    // A Yes/No question of the string table, with the name a "%s" in it stands for.
    virtual bool Ask(unsigned text, const std::u16string& name) = 0;
    virtual void Tell(unsigned text, bool error) = 0;
    // Runs the save of a record of the pane with the signs of a wait the window gives.
    virtual bool RunSave(ListKind pane, const std::function<bool()>& save) = 0;
    // Dialogs of the view end as cancelled; a copied password leaves the clipboard.
    virtual void EndDialogs() = 0;
};

struct ShownCategory {
    int32_t id = -1;
    int32_t icon = 0;
    std::u16string name;
};

class RecordEditor {
public:
    // newCategoryName: the name a new category starts with; rows: the list whose rows the editor removes
    // or refreshes; gate: held while the editor asks the user.
    RecordEditor(CData* data, EditorScreen& screen, std::u16string newCategoryName, ListRows* rows,
                 SessionGate* gate)
        : data(data), screen(screen), newCategoryName(std::move(newCategoryName)), rows(rows), gate(gate) {}

    // The events. A Show* returns false when the record could not be shown (unsaved work kept, or asked
    // meanwhile); SwitchPane and PromptSaveChanges false when a save the user chose was refused.
    bool SwitchPane(ListKind pane);
    bool ShowCard(int32_t id, bool isNew, int32_t templateId, bool startEditing);
    bool ShowTemplate(int32_t id, bool isNew, bool startEditing);
    bool ShowCategory(int32_t id, bool isNew, bool startEditing);
    bool PromptSaveChanges(ListKind pane);
    bool StartEditing();
    bool Save();
    void Cancel();
    void Lock();
    // The session ended: nothing can be saved, and nothing read stays.
    void Forget();

    // The user's changes in edit mode: the field editor's copy, an icon, a category.
    void ReplaceFields(const CTesseraItem& copy);
    void SetIcon(int32_t icon);
    void SetCategory(uint32_t categoryId);
    // In edit mode, the screen's values into the record (before a dialog works on it).
    void Collect();
    // The name box's text, for the screen's Collect: true when it differs from the record's.
    bool CollectName(const std::u16string& name);

    ListKind Pane() const { return pane; }
    EditMode Mode() const { return mode; }
    bool Editing() const { return mode == EditMode::Editing || mode == EditMode::EditingNew; }
    bool IsNew() const { return mode == EditMode::EditingNew; }
    bool Asking() const { return asking; }
    bool Shown() const;
    int32_t Id() const { return pane == ListKind::Categories ? category.id : id; }
    // The card or template shown; nullptr for a category or none.
    const CTesseraItem* Record() const { return record.get(); }
    CTesseraItem* Edited() { return Editing() ? record.get() : nullptr; }
    const ShownCategory& Category() const { return category; }

private:
    bool Enter(ListKind newPane);
    bool Present(bool found, bool isNew, int32_t id, bool startEditing);
    bool Begin(bool isNew, bool startEditing);
    void Clear(ListKind newPane);
    bool ReadStored();
    bool FindCategory(int32_t categoryId, ShownCategory& into) const;
    bool SaveShown();
    bool TrySave();
    bool AskAndSave();
    void ReportFailedSave();
    void CarryOntoStored();
    void DropNew();
    void KeepShownRow();

    CData* data;
    EditorScreen& screen;
    std::u16string newCategoryName;
    ListRows* rows;
    SessionGate* gate;

    ListKind pane = ListKind::None;
    EditMode mode = EditMode::Empty;
    int32_t id = 0;
    bool modified = false;
    bool asking = false;
    // Counts the locks and resets, so that one that ran while the user was asked is noticed.
    unsigned epoch = 0;
    std::unique_ptr<CTesseraItem> record;
    // The record as read from the model: what the user's changes are measured against.
    std::unique_ptr<CTesseraItem> read;
    ShownCategory category, categoryRead;
};
