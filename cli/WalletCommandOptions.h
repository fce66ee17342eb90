#pragma once
// What the wallet commands of `tessera` are told on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/PhoneAccess.h"

struct WalletCommandOptions {
    PhoneOptions phone;
    bool json = false;

    // list
    std::optional<int32_t> categoryFilter;
    std::string find;
    std::string sort = "name";
    bool descending = false;

    // show, edit, category rename/rm: one id; rm: the card ids
    uint32_t id = 0;
    std::vector<uint32_t> ids;
    bool reveal = false;

    // add, edit
    bool blank = false;
    std::optional<uint32_t> templateId;
    std::vector<std::string> sets;     // "Field=Value"
    std::vector<std::string> secrets;  // field names whose values are read like the password, in order
    std::optional<std::string> name;
    std::optional<int32_t> category;
    std::optional<uint32_t> icon;

    // category add/rename/rm
    std::string categoryName;
    bool deleteCards = false;

    // export, import
    std::string file;
    std::string format;  // export: text (default), csv or json; import: csv or json (default: by extension)
    bool dryRun = false;

    // repair: also write again a file that no cut save explains, with every record that decrypts
    bool salvage = false;

    // backup rm, restore
    std::string backupName;
};
