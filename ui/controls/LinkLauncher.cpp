#include "ui/controls/LinkLauncher.h"

#include <wx/utils.h>

namespace {

bool LaunchWithDesktop(const wxString& target, const wxString& /*verb*/) {
    return wxLaunchDefaultBrowser(target);
}

LaunchFn& CurrentLauncher() {
    static LaunchFn launcher = LaunchWithDesktop;
    return launcher;
}

}  // namespace

void SetLinkLauncher(LaunchFn launcher) {
    CurrentLauncher() = launcher ? std::move(launcher) : LaunchFn(LaunchWithDesktop);
}

bool LaunchLink(const wxString& target, const wxString& verb) {
    return CurrentLauncher()(target, verb);
}
