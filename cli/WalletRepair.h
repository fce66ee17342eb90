#pragma once
// `tessera repair` and `tessera check`: what a cut save left in the wallet and the templates file on
// the phone.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int RepairWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
// `tessera check`: the same findings, nothing written; 0 only when both files are sound.
int CheckWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
