#include "ui/ListBar.h"

#include "plugin-api/PluginApi.h"
#include "ui/LinkLauncher.h"
#include "ui/Resource.h"
#include "ui/StartPages.h"
#include "ui/StringTable.h"

CListBar::CListBar(wxWindow* parent, std::function<void()> lock)
    : wxPanel(parent, IDW_LIST_BAR), lock(std::move(lock)) {}

bool CListBar::OnCommand(int id, int code, void*) {
    if (code != plugin::kCodeCommand) return false;
    switch (id) {
        case ID_VISIT_WEBSITE:
            LaunchLink(wxString::FromUTF8(kMakerWebsite), "open");
            return true;
        case ID_LOCK_WALLET:
            if (lock) lock();
            return true;
        default:
            return false;
    }
}
