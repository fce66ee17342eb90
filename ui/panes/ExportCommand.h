#pragma once
// Command 32004, Export Cards...: every card of the open wallet written to a file the user names, as text,
// CSV or JSON by the type chosen in the dialog.
class CData;
class wxWindow;

// Asks for the file (".txt", ".csv" or ".json" by the type chosen, overwriting asked about) and writes it
// through the card export, whole or not at all; a file that cannot be written is told in a message box with
// the system's reason. Nothing is written while no wallet is open and logged in. Always handled.
bool RunExportCommand(wxWindow* parent, CData& data, bool walletOpen);
