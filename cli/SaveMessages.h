#pragma once
// The command line's words when the wallet cannot be read or a change cannot be saved because of another
// program. The plug-in shows the same causes in its own words, from its string table.

#include <string_view>

constexpr std::string_view kWalletInUseLine =
    "The wallet is in use by another program on this computer; try again.";
constexpr std::string_view kWalletChangedLine =
    "The wallet changed on the phone since it was read; run the command again.";
