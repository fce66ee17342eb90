#pragma once
// `tessera backup`: the wallet's backups on the phone listed, made, deleted and restored, through the
// plug-in's own backup code and with its messages. Each logs in to the wallet first.

#include <iosfwd>

#include "cli/WalletCommandOptions.h"

int ListBackups(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int MakeBackup(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RemoveBackup(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
// Asks for the backup's password after the wallet's (with --password-stdin, the next line).
int RestoreWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err);
