#include "phone/OptionRecord.h"

#include <algorithm>

#include "store/ByteOrder.h"

namespace {

// The application's own settings whose default is not zero, by offset. Everything else starts at zero:
// the remaining lockout (20), the lockout duration index (36) and the flags.
struct Setting {
    size_t offset;
    uint32_t value;
};
constexpr Setting kDefaults[] = {{28, 1}, {32, 4}, {572, 1}};

}  // namespace

OptionRecord NewOptionRecord(std::u16string_view backupFolder) {
    PhoneOptionRecord record;
    for (const Setting& setting : kDefaults) PutU32(record.Bytes() + setting.offset, setting.value);
    record.SetBackupFolder(backupFolder);
    OptionRecord bytes;
    std::copy_n(record.Bytes(), bytes.size(), bytes.begin());
    return bytes;
}
