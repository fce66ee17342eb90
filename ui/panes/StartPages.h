#pragma once
// The start pages the host's web view shows for the navigation tree's root, product and help items:
// local HTML files shipped beside the plug-in in its "tessera-pages" folder.
#include <wx/string.h>

enum class StartPage { Index, Product, Help };

// The page's address as a file: URL.
wxString StartPageAddress(StartPage page);
