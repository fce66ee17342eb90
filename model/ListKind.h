#pragma once
// The plug-in's four lists: the wallet's cards, templates and categories, and the phone's backups. One
// numbering for the list pane, the main view's panes, the navigation tree and the session's pages.
enum class ListKind { Cards = 0, Templates = 1, Categories = 2, Backups = 3, None = 4 };
