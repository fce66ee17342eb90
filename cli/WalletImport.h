#pragma once
// `tessera import`: cards from another program's CSV file or from our JSON export.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int ImportCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
