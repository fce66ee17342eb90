#pragma once
// What the list pane, the navigation pane and the session ask of the main view: which record or
// backup it shows, and keeping or dropping the user's unsaved work.
#include <cstdint>
#include <optional>
#include <string>

#include "model/ListKind.h"

class ItemView {
public:
    virtual ~ItemView() = default;
    // Ignored for the current pane or a value above ListKind::None; asks about unsaved changes first. False
    // when the user chose to save them and the phone refused: the shown record stays, in edit mode.
    virtual bool SwitchPane(ListKind pane) = 0;
    // templateId 0xFFFFFFFF (as int32_t, -1) makes a blank new card. False when the record is not shown:
    // the shown one keeps unsaved work, or it could not be read or made.
    virtual bool ShowCard(int32_t id, bool isNew, int32_t templateId, bool startEditing) = 0;
    virtual bool ShowTemplate(int32_t id, bool isNew, bool startEditing) = 0;
    virtual bool ShowCategory(int32_t id, bool isNew, bool startEditing) = 0;
    virtual void ShowBackup(const std::u16string& name) = 0;
    // Asks whether to keep the unsaved changes of the shown record (also when the plug-in is hidden);
    // false when the user chose to save and the phone refused it: the record stays shown, in edit mode.
    virtual bool PromptSaveChanges(ListKind pane) = 0;
    // Ends open dialogs and keeps the user's work when the wallet locks.
    virtual void LockEditing() = 0;
    virtual bool IsEditing() const = 0;
    // The id of the record shown in the pane; none when the pane shows none or is not shown.
    virtual std::optional<int32_t> ShownRecord(ListKind pane) const = 0;
};
