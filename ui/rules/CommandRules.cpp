#include "ui/rules/CommandRules.h"

#include "ui/resources/Resource.h"

std::optional<CardSortKey> ArrangeKeyOf(int id) {
    switch (id) {
        case ID_ARRANGE_NAME:
            return CardSortKey::Name;
        case ID_ARRANGE_CATEGORY:
            return CardSortKey::Category;
        case ID_ARRANGE_CREATED:
            return CardSortKey::Created;
        case ID_ARRANGE_MODIFIED:
            return CardSortKey::Modified;
        default:
            return std::nullopt;
    }
}

namespace {

std::optional<bool> Enabled(int id, const CommandState& s) {
    bool shown = s.visible;
    bool cards = s.kind == ListKind::Cards;
    switch (id) {
        case ID_NEW_CONTEXT:
            return shown && s.open &&
                   (cards || s.kind == ListKind::Templates || s.kind == ListKind::Categories);
        case ID_NEW_CARD:
        case ID_NEW_TEMPLATE:
        case ID_NEW_CATEGORY:
        case ID_NEW_DROPDOWN:
            return shown && s.open && !s.editing;
        case ID_BACKUP:
            return shown && s.open;
        case ID_IMPORT_CARDS:
            return shown && s.open && !s.editing;
        case ID_EXPORT_CARDS:
            return shown;
        case ID_SELECT_ALL:
        case ID_INVERT_SELECTION:
        case ID_FIND:
            return shown && !s.editing;
        case ID_DELETE:
            return s.selected > 0 && shown && !s.editing;
        case ID_SAVE_AS_TEMPLATE:
            return shown && cards && s.rows > 0;
        case ID_LOCK_WALLET:
            return s.open;
        case ID_FIND_BOX:
            return s.findMode;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<CommandStatus> CommandRule(int id, const CommandState& state) {
    if (id == ID_VISIT_WEBSITE) return CommandStatus{true, false};
    // View > List Pane brings back a pane closed with its button, while a wallet list is open.
    if (id == ID_VIEW_LIST_PANE)
        return CommandStatus{state.open && state.kind != ListKind::None && !state.busy, state.visible};
    if (std::optional<CardSortKey> key = ArrangeKeyOf(id)) {
        bool enabled = state.visible && (key == CardSortKey::Name || state.kind == ListKind::Cards);
        return CommandStatus{enabled && !state.busy, state.key == key};
    }
    std::optional<bool> enabled = Enabled(id, state);
    if (!enabled) return std::nullopt;
    // A deletion or a dialog of the pane runs: nothing else may start.
    return CommandStatus{*enabled && !state.busy, false};
}
