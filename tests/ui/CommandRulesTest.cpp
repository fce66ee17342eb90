// When the list pane's commands may be used.
#include <gtest/gtest.h>

#include "ui/resources/Resource.h"
#include "ui/rules/CommandRules.h"

TEST(CommandRules, EachCommandIsEnabledInTheStatesOfTheTable) {
    const CommandState open{.visible = true, .open = true, .kind = ListKind::Cards, .rows = 5, .selected = 1};
    CommandState states[] = {{}, open, open, open};
    states[2].editing = states[3].busy = true;
    constexpr struct {
        int id;
        bool enabled[4];  // not open, open, editing, busy
    } kTable[] = {
        {ID_NEW_CARD, {false, true, false, false}},   {ID_NEW_CONTEXT, {false, true, true, false}},
        {ID_DELETE, {false, true, false, false}},     {ID_SAVE_AS_TEMPLATE, {false, true, true, false}},
        {ID_LOCK_WALLET, {false, true, true, false}}, {ID_VISIT_WEBSITE, {true, true, true, true}},
    };
    for (const auto& row : kTable)
        for (int state = 0; state < 4; ++state)
            EXPECT_EQ(CommandRule(row.id, states[state])->enabled, row.enabled[state]) << row.id;
    states[1].key = CardSortKey::Created;
    EXPECT_EQ(CommandRule(ID_ARRANGE_CREATED, states[1]), (CommandStatus{true, true}));
    EXPECT_FALSE(CommandRule(ID_APP_EXIT, states[1])) << "the host's own command";
    states[1].visible = false;  // the pane closed with its button
    EXPECT_EQ(CommandRule(ID_VIEW_LIST_PANE, states[1]), (CommandStatus{true, false}));
    EXPECT_FALSE(CommandRule(ID_VIEW_LIST_PANE, states[0])->enabled) << "no wallet list open";
}
