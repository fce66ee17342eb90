// Built into the plug-in library only: the application object is made and initialised when the host
// loads the library, before any entry point runs.
#include "shell/TesseraApp.h"

namespace {
[[maybe_unused]] const bool loaded = (TheApp(), true);
}
