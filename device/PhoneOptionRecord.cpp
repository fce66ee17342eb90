#include "device/PhoneOptionRecord.h"

#include "device/DeviceFiles.h"
#include "platform/ByteOrder.h"

int32_t PhoneOptionRecord::GetInt(uint32_t offset) const {
    return static_cast<int32_t>(GetU32(bytes + offset));
}

void PhoneOptionRecord::SetInt(uint32_t offset, int32_t value) {
    PutU32(bytes + offset, static_cast<uint32_t>(value));
}

void PhoneOptionRecord::Sanitize() {
    if (LockoutRemainingMs() < 0) SetLockoutRemainingMs(0);
    for (const Setting& setting : kSettings) {
        int32_t value = GetInt(setting.offset);
        if (value < setting.low || value > setting.high) SetInt(setting.offset, setting.fallback);
    }
    for (uint32_t flag : kFlags) {
        if (GetInt(flag) != 0) SetInt(flag, 1);
    }
}

void PhoneOptionRecord::ResetSettings() {
    for (const Setting& setting : kSettings) SetInt(setting.offset, setting.fallback);
}

PhoneOptionRecord PhoneOptionRecord::Fresh(std::u16string_view backupFolder) {
    PhoneOptionRecord record;
    record.ResetSettings();
    record.SetBackupFolder(backupFolder);
    return record;
}

int PhoneOptionRecord::Read(const char16_t* path) {
    int read = DeviceReadRecordFile(path, bytes, kSize, nullptr);
    Sanitize();
    return read;
}

int PhoneOptionRecord::Write(const char16_t* path) {
    Sanitize();
    return DeviceWriteRecordFile(path, bytes, kSize, nullptr);
}

std::u16string PhoneOptionRecord::BackupFolder() const {
    std::u16string folder;
    for (uint32_t i = 0; i < kBackupFolderUnits; ++i) {
        char16_t unit = static_cast<char16_t>(GetU16(bytes + kBackupFolder + 2 * i));
        if (!unit) break;
        folder += unit;
    }
    return folder;
}

void PhoneOptionRecord::SetBackupFolder(std::u16string_view folder) {
    folder = folder.substr(0, kBackupFolderUnits - 1);
    for (uint32_t i = 0; i < kBackupFolderUnits; ++i)
        PutU16(bytes + kBackupFolder + 2 * i, i < folder.size() ? folder[i] : 0);
}
