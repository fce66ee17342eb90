#pragma once
// Repairs what a cut save leaves in a store file (docs/store-format.md, "What a cut save can leave"):
// a stale checksum, a partial record at the end, and two live copies of one id from a cut grow, of
// which the later one wins. It acts only when the header's checksum proves the cut: it must cover the
// bytes before what the save appended, as they are or before one delete mark. Any other file is left
// alone unless a salvage is asked for. The repair is
// checked before it is written (the password verifies, every live record decrypts and parses), and
// the file's bytes as they were go to a copy beside it first.

#include <cstdint>
#include <string>

#include "platform/SystemTime.h"
#include "store/SecureBytes.h"

enum class RepairResult { kSound, kRepaired, kRefused, kNeedsRepair, kWrongPassword };

// kCheck writes nothing: a file that a repair would mend gives kNeedsRepair. kSalvage also takes a file
// that no cut save explains and writes it again with every live record that still decrypts.
enum class RepairMode { kRepair, kCheck, kSalvage };

// `password`: UTF-16LE bytes. `report` says what was found and done, or why the file was left alone.
RepairResult RepairStoreFile(const std::u16string& path, uint32_t fileType, const SecureBytes& password,
                             const SYSTEMTIME& now, std::string& report,
                             RepairMode mode = RepairMode::kRepair);

// PATH.repair-YYYYMMDDhhmmss, where the file's bytes are kept before a repair.
std::u16string RepairCopyPath(const std::u16string& path, const SYSTEMTIME& now);
