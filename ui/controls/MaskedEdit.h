#pragma once
// Password edits show "*" for each character typed, as on the phone, where the toolkit lets us choose.
class wxTextCtrl;

// For a single-line password edit; where the toolkit has no such choice, its own mask stays.
void MaskWithAsterisks(wxTextCtrl& edit);
