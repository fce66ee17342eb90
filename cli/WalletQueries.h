#pragma once
// The wallet commands that only read: list, show, templates, categories, export.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int ListCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int ShowCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int ListTemplates(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err);
int ListCategories(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err);
int ExportWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
