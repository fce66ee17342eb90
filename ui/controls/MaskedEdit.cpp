#include "ui/controls/MaskedEdit.h"

#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <dlfcn.h>

#include <cstdint>
#endif

void MaskWithAsterisks([[maybe_unused]] wxTextCtrl& edit) {
#ifdef __WXGTK__
    // A single-line wxTextCtrl is a GtkEntry. GTK is already loaded by the toolkit; its function is
    // looked up there rather than compiled against, so the build needs no GTK headers.
    using SetInvisibleChar = void (*)(void* entry, uint32_t character);
    static auto set = reinterpret_cast<SetInvisibleChar>(dlsym(RTLD_DEFAULT, "gtk_entry_set_invisible_char"));
    if (set && edit.GetHandle()) set(edit.GetHandle(), U'*');
#endif
}
