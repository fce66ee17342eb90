#pragma once
// The wallet commands of `tessera` on the command line.

#include <CLI/CLI.hpp>

#include "cli/WalletCommandOptions.h"

void AddWalletCommands(CLI::App& app, WalletCommandOptions& options, int& status);
