#pragma once
// The plug-in's menu 128, accelerator table 128, toolbar 13041, list context menu 13017 and the New
// drop-down menu 13035, kept as tables and turned into wx objects on demand.
#include <wx/accel.h>

#include <memory>

class wxMenu;
class wxMenuBar;
class wxToolBar;

// Removes and deletes every menu of bar, then appends fresh copies of menu 128.
void FillMenuBar(wxMenuBar* bar);
// A new popup menu 13017 or 13035; null for any other id.
std::unique_ptr<wxMenu> LoadPopupMenu(int id);
// The "Arranged by" submenu of the main menu, on its own (the card list's first header pops it up).
std::unique_ptr<wxMenu> LoadArrangeMenu();
// The seven shortcuts of accelerator table 128.
std::unique_ptr<wxAcceleratorTable> LoadAccelerators();
// Clears bar and loads toolbar 13041 into it: the tools with separators between neighbours, the
// New drop-down and the find box. False when a tool cannot be added.
bool LoadToolbar(wxToolBar* bar);
