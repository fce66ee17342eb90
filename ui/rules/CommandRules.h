#pragma once
// When the list pane's commands may be used and which of them carry a check mark: the same rules for
// the menu, the toolbar, the context menu and the shortcuts.
#include <optional>

#include "model/CardOrder.h"
#include "ui/rules/ListContent.h"

// What the rules look at. visible: the pane is shown; open: a wallet is open and not locked; editing:
// the main view edits a record; busy: the pane runs a long operation of its own.
struct CommandState {
    bool visible = false;
    bool open = false;
    bool editing = false;
    bool busy = false;
    bool findMode = false;
    ListKind kind = ListKind::None;
    int rows = 0;
    int selected = 0;
    CardSortKey key = CardSortKey::Name;
};

struct CommandStatus {
    bool enabled = false;
    bool checked = false;
    bool operator==(const CommandStatus&) const = default;
};

// The key of an "Arranged by" command; none for any other command.
std::optional<CardSortKey> ArrangeKeyOf(int id);

// The status of one of the pane's commands; none for a command the pane does not own.
std::optional<CommandStatus> CommandRule(int id, const CommandState& state);
