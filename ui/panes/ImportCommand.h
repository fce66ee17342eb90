#pragma once
// File > Import Cards...: the cards of another program's CSV file, or of our JSON export, added to the
// open wallet.
class CData;
class SessionGate;
class wxWindow;

// Asks for the file, reads it, and shows what it would add (cards, new categories, lines skipped) before
// anything is written; on OK adds the cards on a worker under the progress window, which counts them, while
// the gate is held. The list follows the model's row events. A file that cannot be read, or an import that
// stops, is told in a message box. Nothing happens while no wallet is open and logged in. Always handled.
bool RunImportCommand(wxWindow* parent, CData& data, SessionGate* gate, bool walletOpen);
