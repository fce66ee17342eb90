#pragma once
// What each of the plug-in's lists is, in one table: its caption, the name a new record of it starts
// with, and the questions and messages that name it.
#include "model/ListKind.h"

struct ListKindTraits {
    unsigned caption;         // the tree item, the list pane's title and the list's column
    unsigned newName;         // the name of a new record; 0 for a list that makes none
    unsigned deleteQuestion;  // 0 where the list asks with a dialog of its own
    unsigned deleteCaption;
    unsigned savePrompt;  // unsaved changes when the user leaves the record; 0 for none
    unsigned saveFailed;
    bool editable;  // its records are shown in the main view's editor
};

// The traits of a kind; those of ListKind::None for a value out of range.
const ListKindTraits& TraitsOf(ListKind kind);
