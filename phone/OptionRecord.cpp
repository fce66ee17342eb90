#include "phone/OptionRecord.h"

#include <algorithm>

OptionRecord NewOptionRecord(std::u16string_view backupFolder) {
    PhoneOptionRecord record;  // no lockout, every flag clear
    record.ResetSettings();
    record.SetBackupFolder(backupFolder);
    OptionRecord bytes;
    std::copy_n(record.Bytes(), bytes.size(), bytes.begin());
    return bytes;
}
