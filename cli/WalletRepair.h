#pragma once
// `tessera repair`: repairs what a cut save left in the wallet and the templates file on the phone.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int RepairWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
