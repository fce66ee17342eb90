#pragma once
// Which keys a field editor lets through: of the Ctrl shortcuts only copy, paste and select-all work,
// and Esc never reaches the dialog.

enum class EditKeyAction { Pass, Copy, Paste, SelectAll, Swallow };

// The action for a key press (wx key code) with Ctrl held or not.
EditKeyAction EditKeyFilter(int keyCode, bool ctrlDown);
