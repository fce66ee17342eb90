#include "ui/panes/StartPages.h"

#include <dlfcn.h>

#include <wx/filename.h>
#include <wx/filesys.h>

namespace {

// The folder of the binary this code is linked into: the plug-in library when the host loads it.
wxString OwnFolder() {
    Dl_info where{};
    if (dladdr(reinterpret_cast<void*>(&StartPageAddress), &where) == 0 || !where.dli_fname) return {};
    return wxFileName(wxString::FromUTF8(where.dli_fname)).GetPath();
}

const char* FileName(StartPage page) {
    switch (page) {
        case StartPage::Product:
            return "product.html";
        case StartPage::Help:
            return "help.html";
        case StartPage::Index:
            break;
    }
    return "index.html";
}

}  // namespace

wxString StartPageAddress(StartPage page) {
    wxFileName file(OwnFolder() + "/tessera-pages", FileName(page));
    return wxFileSystem::FileNameToURL(file);
}
