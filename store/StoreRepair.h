#pragma once
// Repairs what a cut save leaves in a store file (docs/store-format.md, "What a cut save can leave"):
// a stale checksum, a partial record at the end, and two live copies of one id from a cut grow, of
// which the later one wins. Nothing else: a file in any other state is left alone. The repair is
// checked before it is written (the password verifies, every live record decrypts and parses), and
// the file's bytes as they were go to a copy beside it first.

#include <cstdint>
#include <string>

#include "platform/SystemTime.h"
#include "store/SecureBytes.h"

enum class RepairResult { kSound, kRepaired, kRefused, kNeedsRepair, kWrongPassword };

// `password`: UTF-16LE bytes. `report` says what was found and done, or why the file was left alone.
// With checkOnly nothing is written: a file that a repair would mend gives kNeedsRepair.
RepairResult RepairStoreFile(const std::u16string& path, uint32_t fileType, const SecureBytes& password,
                             const SYSTEMTIME& now, std::string& report, bool checkOnly = false);

// PATH.repair-YYYYMMDDhhmmss, where the file's bytes are kept before a repair.
std::u16string RepairCopyPath(const std::u16string& path, const SYSTEMTIME& now);
