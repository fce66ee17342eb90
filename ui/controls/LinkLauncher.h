#pragma once
// The one way out to "open this address": every link, web site and mail address goes through here, so
// tests can replace what actually starts the browser or the mail program.
#include <wx/string.h>

#include <functional>

using LaunchFn = std::function<bool(const wxString& target, const wxString& verb)>;

// Replaces the launcher; an empty function restores the default (the desktop's browser).
void SetLinkLauncher(LaunchFn launcher);

// Hands target to the launcher with verb ("open", "OPEN"); true when it was started.
bool LaunchLink(const wxString& target, const wxString& verb);
