#pragma once
// Holds a text box to a limit for what the user types or pastes; what the program puts in it stays whole.
// The limit is read at each key and paste, so its owner may change it; it must outlive the box's events.
class InputLimit;
class wxTextCtrl;

void LimitTypedInput(wxTextCtrl& box, const InputLimit& limit);
