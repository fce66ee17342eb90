#include "ui/rules/RecordEditor.h"

#include "model/Data.h"
#include "model/ItemChanges.h"
#include "model/NameRules.h"
#include "store/TesseraEncryptedLinkList.h"
#include "ui/resources/Resource.h"
#include "ui/rules/EditMerge.h"
#include "ui/rules/FieldCollect.h"
#include "ui/rules/ListKinds.h"
#include "ui/rules/ListRows.h"
#include "ui/rules/SessionGate.h"

namespace {

std::unique_ptr<CTesseraItem> Copy(const CTesseraItem& item) {
    auto copy = std::make_unique<CTesseraItem>();
    if (!copy->CopyFrom(item)) return nullptr;
    return copy;
}

}  // namespace

bool RecordEditor::Shown() const {
    switch (pane) {
        case ListKind::Cards:
        case ListKind::Templates:
            return record != nullptr;
        case ListKind::Categories:
            return category.id != -1;
        default:
            return false;
    }
}

bool RecordEditor::SwitchPane(ListKind newPane) {
    if (newPane == pane) return true;
    if (!PromptSaveChanges(pane)) return false;
    Clear(newPane);
    return true;
}

bool RecordEditor::ShowCard(int32_t cardId, bool isNew, int32_t templateId, bool startEditing) {
    if (asking || !data) return false;
    if (!isNew && pane == ListKind::Cards && record && cardId == id) return true;
    if (!Enter(ListKind::Cards)) return false;
    record = isNew ? data->NewCardFromTemplate(static_cast<uint32_t>(templateId))
                   : data->ReadCardRecord(static_cast<uint32_t>(cardId));
    return Present(record != nullptr, isNew, cardId, startEditing);
}

bool RecordEditor::ShowTemplate(int32_t templateId, bool isNew, bool startEditing) {
    if (asking || !data) return false;
    if (!isNew && pane == ListKind::Templates && record && templateId == id) return true;
    if (!Enter(ListKind::Templates)) return false;
    record = isNew              ? NewBlankTemplate()
             : templateId != -1 ? data->ReadTemplateRecord(static_cast<uint32_t>(templateId))
                                : nullptr;
    return Present(record != nullptr, isNew, templateId, startEditing);
}

bool RecordEditor::ShowCategory(int32_t categoryId, bool isNew, bool startEditing) {
    if (asking || !data) return false;
    if (!isNew && pane == ListKind::Categories && categoryId == category.id) return true;
    if (!Enter(ListKind::Categories)) return false;
    ShownCategory shown{categoryId, 0, newCategoryName};
    if (!isNew && !FindCategory(categoryId, shown)) {
        Clear(ListKind::Categories);
        return false;
    }
    category = categoryRead = shown;
    return Begin(isNew, startEditing);
}

// Another record may be shown in newPane once unsaved work was saved or let go, and no lock or reset
// ran while the user was asked.
bool RecordEditor::Enter(ListKind newPane) {
    const unsigned before = epoch;
    if (!PromptSaveChanges(pane)) {
        KeepShownRow();
        return false;
    }
    if (epoch != before) return false;
    if (pane != newPane) Clear(newPane);
    return true;
}

// A card or template read or made for the pane is shown; without one the pane stays empty.
bool RecordEditor::Present(bool found, bool isNew, int32_t recordId, bool startEditing) {
    if (found && !isNew) read = Copy(*record);
    if (!found || (!isNew && !read)) {
        Clear(pane);
        return false;
    }
    id = recordId;
    return Begin(isNew, startEditing);
}

// The record just read or made is shown unchanged: a new one in edit mode.
bool RecordEditor::Begin(bool isNew, bool startEditing) {
    modified = false;
    mode = isNew ? EditMode::EditingNew : EditMode::Viewing;
    screen.Present(true);
    if (startEditing) StartEditing();
    return true;
}

void RecordEditor::Clear(ListKind newPane) {
    pane = newPane;
    record.reset();
    read.reset();
    category = categoryRead = ShownCategory{};
    id = 0;
    modified = false;
    mode = EditMode::Empty;
    screen.Present(true);
}

// The record as the phone now holds it, out of edit mode.
bool RecordEditor::ReadStored() {
    modified = false;
    mode = EditMode::Viewing;
    if (pane == ListKind::Categories) {
        ShownCategory now;
        if (!FindCategory(category.id, now)) {
            Clear(pane);
            return false;
        }
        category = categoryRead = now;
    } else {
        const auto stored = static_cast<uint32_t>(id);
        record = pane == ListKind::Cards ? data->ReadCardRecord(stored) : data->ReadTemplateRecord(stored);
        if (!record || !(read = Copy(*record))) {
            Clear(pane);
            return false;
        }
    }
    screen.Present(true);
    return true;
}

bool RecordEditor::FindCategory(int32_t categoryId, ShownCategory& into) const {
    for (const category_struct& row : data->categories) {
        if (row.id != categoryId) continue;
        into = {row.id, row.icon, row.name};
        return true;
    }
    return false;
}

bool RecordEditor::StartEditing() {
    if (Editing() || !Shown()) return false;
    mode = EditMode::Editing;
    screen.Present(false);
    return true;
}

void RecordEditor::Collect() {
    if (Editing() && Shown() && screen.Collect()) modified = true;
}

bool RecordEditor::CollectName(const std::u16string& name) {
    if (pane == ListKind::Categories) {
        if (name == category.name) return false;
        category.name = name;
        return true;
    }
    if (!record) return false;
    if (!record->fields.head) SetItemName(*record, u"");
    return CollectText(record->fields.head->element, name);
}

bool RecordEditor::SaveShown() {
    const bool saved = screen.RunSave(pane, [this] {
        const auto at = static_cast<uint32_t>(id);
        switch (pane) {
            case ListKind::Cards:
                return IsNew() ? data->AddCard(*record, at) : data->UpdateCard(*record, at);
            case ListKind::Templates:
                return IsNew() ? data->AddTemplate(*record, at) : data->UpdateTemplate(*record, at);
            default: {
                const uint32_t packed =
                    PackCategory(static_cast<uint32_t>(category.id), static_cast<uint32_t>(category.icon));
                return IsNew() ? data->AddCategory(category.name, packed)
                               : data->UpdateCategory(category.name, packed);
            }
        }
    });
    if (saved && rows) rows->UpdateRow(pane, Id());
    return saved;
}

bool RecordEditor::Save() {
    if (!Editing()) return true;
    Collect();
    if ((IsNew() || modified) && !TrySave()) return false;
    ReadStored();
    return true;
}

// Names that break the rules are not written: the user is told what to change and keeps editing.
bool RecordEditor::TrySave() {
    const NameProblem problem = pane == ListKind::Categories
                                    ? CheckCategoryName(data->categories, category.id, category.name)
                                    : CheckRecordNames(*record);
    if (problem != NameProblem::None) {
        screen.Tell(problem == NameProblem::Blank           ? IDS_NAME_BLANK
                    : problem == NameProblem::RepeatedField ? IDS_FIELD_NAME_REPEATED
                                                            : IDS_CATEGORY_NAME_TAKEN,
                    false);
        return false;
    }
    if (SaveShown()) return true;
    ReportFailedSave();
    return false;
}

// The phone did not take the save: the user's values stay, in edit mode, to try again. A wallet that
// another program changed since it was read is read again first, and the user's changes are carried
// onto the record as it now stands, so that the next Save lands without undoing the other program's.
void RecordEditor::ReportFailedSave() {
    if (data->LastChange() == CTesseraEncryptedLinkList::kChangeStale) {
        screen.Tell(IDS_WALLET_CHANGED, false);
        const bool reread = data->Reload();
        if (rows) rows->Reload();
        if (reread) return CarryOntoStored();
    }
    screen.Tell(TraitsOf(pane).saveFailed, true);
}

void RecordEditor::CarryOntoStored() {
    if (IsNew()) return;
    const KeepMine keepMine = [this](const std::u16string& what) {
        return screen.Ask(what.empty() ? IDS_KEEP_MY_HEAD : IDS_KEEP_MY_FIELD, what);
    };
    if (pane == ListKind::Categories) {
        ShownCategory now;
        if (!FindCategory(category.id, now)) return;
        category.name = ChooseValue(categoryRead.name, category.name, now.name, keepMine, now.name);
        category.icon = ChooseValue(categoryRead.icon, category.icon, now.icon, keepMine);
        categoryRead = now;
    } else {
        const auto at = static_cast<uint32_t>(id);
        std::unique_ptr<CTesseraItem> stored =
            pane == ListKind::Cards ? data->ReadCardRecord(at) : data->ReadTemplateRecord(at);
        if (!stored || !read) return;
        std::unique_ptr<CTesseraItem> merged = CarryEdits(*read, *record, *stored, keepMine);
        if (!merged) return;
        record = std::move(merged);
        read = std::move(stored);
    }
    modified = true;
    screen.Present(true);
}

bool RecordEditor::PromptSaveChanges(ListKind shownPane) {
    if (asking || shownPane != pane || !TraitsOf(pane).editable || !Shown()) return true;
    // Outside edit mode nothing was changed: collecting then would count an empty date as the picker's.
    Collect();
    if (!IsNew() && !modified) return true;
    return AskAndSave();
}

// Yes saves; No lets the changes go. The question holds the session: a lock or a reset waits for it.
bool RecordEditor::AskAndSave() {
    SessionHold hold(gate);
    asking = true;
    bool kept = true;
    if (screen.Ask(TraitsOf(pane).savePrompt, {})) {
        kept = TrySave();
        if (kept) ReadStored();
    } else if (IsNew()) {
        DropNew();
    } else {
        ReadStored();
    }
    asking = false;
    return kept;
}

void RecordEditor::Cancel() {
    if (!Editing()) return;
    if (!IsNew()) {
        ReadStored();
        return;
    }
    DropNew();
    if (rows && rows->RowCount() > 0) {
        rows->SelectFirstRow();
    } else {
        Clear(pane);
    }
}

// A new record that is not kept: its unsaved row goes from the list.
void RecordEditor::DropNew() {
    const int32_t dropped = Id();
    Clear(pane);
    if (rows) rows->RemoveRow(pane, dropped);
}

// The shown record could not be saved before another was shown: the list selects its row again.
void RecordEditor::KeepShownRow() {
    if (rows) rows->SelectRecord(pane, Id());
}

void RecordEditor::Lock() {
    ++epoch;
    screen.EndDialogs();
    Collect();
    if (Editing() && (IsNew() || modified)) {
        if (pane != ListKind::Cards) {
            if (IsNew()) {
                DropNew();
            } else {
                ReadStored();
            }
        } else {
            MarkAsDraft(*record);
            if (!SaveShown()) screen.Tell(IDS_SAVE_CARD_FAILED, true);
        }
    }
    // No card's values stay in memory while the wallet is locked; the next login reads the card again.
    if (pane == ListKind::Cards) Clear(ListKind::Cards);
}

void RecordEditor::Forget() {
    ++epoch;
    screen.EndDialogs();
    if (TraitsOf(pane).editable) Clear(pane);
}

void RecordEditor::ReplaceFields(const CTesseraItem& copy) {
    if (!Editing() || !record || !record->CopyFrom(copy)) return;
    modified = true;
    screen.Present(true);
}

void RecordEditor::SetIcon(int32_t icon) {
    if (!Editing() || !Shown()) return;
    if (record) {
        record->icon = static_cast<uint32_t>(icon);
        record->modified = GetSystemTimeUtc();
    } else {
        category.icon = icon;
    }
    modified = true;
    screen.Present(false);
}

void RecordEditor::SetCategory(uint32_t categoryId) {
    if (pane != ListKind::Cards || !Editing() || !record || record->categoryId == categoryId) return;
    ChangeCategory(*record, categoryId);
    modified = true;
}
