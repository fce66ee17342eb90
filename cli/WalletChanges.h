#pragma once
// The wallet commands that change it, each written to the phone at once: add, edit, rm and the
// category commands.

#include <cstdint>
#include <iosfwd>

#include "cli/WalletCommandOptions.h"

class CData;

// kExitOk when the change was written; else says why not (nothing for a stale wallet, which the command
// meets again on the wallet as it now is) and gives kExitFailed.
int Written(bool ok, const CData& data, std::ostream& err);
// Category 0 (none) or one the wallet has.
bool CategoryExists(CData& data, int32_t id);

int AddCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int EditCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RemoveCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int AddCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RenameCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err);
int RemoveCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err);
