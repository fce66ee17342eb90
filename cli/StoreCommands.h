#pragma once
// The store-level commands of `tessera store`: inspect, dump and change one store file.

#include <cstdint>
#include <iosfwd>
#include <string>

struct StoreCommandOptions {
    std::string file;        // a local path
    bool templates = false;  // open as a templates file with the built-in password
    uint32_t id = 0;
    std::string recordJsonFile;
    bool salvage = false;  // repair: a file that no cut save explains keeps every record that decrypts
};

// Each gives the process exit status: 0 done, 1 failure, 2 wrong password.
int StoreInfo(const StoreCommandOptions& options, std::ostream& out, std::ostream& err);
int StoreDump(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int StorePut(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int StoreRemove(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
// Repairs what a cut save left in the file, or with checkOnly only says whether the file is sound
// (password on stdin).
int StoreRepair(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                bool checkOnly);

enum class RepairResult;
enum class RepairMode;
RepairMode RepairModeOf(bool checkOnly, bool salvage);
// One line "NAME: what was found and done" (standard output, or standard error when the file is not
// sound after it); 0 for a sound or repaired file, else 1.
int PrintRepair(const std::string& name, RepairResult result, const std::string& report, std::ostream& out,
                std::ostream& err);
