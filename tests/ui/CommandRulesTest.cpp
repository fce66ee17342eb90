// When the list pane's commands may be used: no wallet page yet, a wallet open, a record being edited,
// a deletion running.
#include <gtest/gtest.h>

#include "ui/CommandRules.h"
#include "ui/Resource.h"

namespace {

TEST(CommandRules, EachCommandIsEnabledInTheStatesOfTheTable) {
    CommandState hidden;
    CommandState open{.visible = true, .open = true, .kind = ListPage::Cards, .rows = 5, .selected = 1};
    CommandState editing = open, busy = open;
    editing.editing = true;
    busy.busy = true;
    struct Row {
        int id;
        bool hidden, open, editing, busy;
    };
    constexpr Row kTable[] = {
        {ID_NEW_CARD, false, true, false, false},        {ID_NEW_CONTEXT, false, true, true, false},
        {ID_BACKUP, false, true, true, false},           {ID_EXPORT_CARDS, false, true, true, false},
        {ID_SELECT_ALL, false, true, false, false},      {ID_DELETE, false, true, false, false},
        {ID_SAVE_AS_TEMPLATE, false, true, true, false}, {ID_LOCK_WALLET, false, true, true, false},
        {ID_VISIT_WEBSITE, true, true, true, true},      {ID_ARRANGE_MODIFIED, false, true, true, false},
    };
    for (const Row& row : kTable) {
        EXPECT_EQ(CommandRule(row.id, hidden)->enabled, row.hidden) << row.id;
        EXPECT_EQ(CommandRule(row.id, open)->enabled, row.open) << row.id;
        EXPECT_EQ(CommandRule(row.id, editing)->enabled, row.editing) << row.id;
        EXPECT_EQ(CommandRule(row.id, busy)->enabled, row.busy) << row.id;
    }
    open.key = CardSortKey::Created;
    EXPECT_EQ(CommandRule(ID_ARRANGE_CREATED, open), (CommandStatus{true, true}));
    EXPECT_EQ(CommandRule(ID_ARRANGE_NAME, open), (CommandStatus{true, false}));
    open.kind = ListPage::Templates;
    open.selected = 0;
    EXPECT_FALSE(CommandRule(ID_ARRANGE_CATEGORY, open)->enabled);
    EXPECT_FALSE(CommandRule(ID_DELETE, open)->enabled);
    EXPECT_FALSE(CommandRule(ID_APP_EXIT, open)) << "the host's own command";
}

}  // namespace
