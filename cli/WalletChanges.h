#pragma once
// The wallet commands that change it, each written to the phone at once: add, edit, rm and the
// category commands.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int AddCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int EditCard(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RemoveCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int AddCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RenameCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err);
int RemoveCategory(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                   std::ostream& err);
