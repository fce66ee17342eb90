#include "device/PhoneOptionRecord.h"

#include "device/DeviceFiles.h"
#include "store/ByteOrder.h"

int32_t PhoneOptionRecord::GetInt(uint32_t offset) const { return static_cast<int32_t>(GetU32(bytes + offset)); }

void PhoneOptionRecord::SetInt(uint32_t offset, int32_t value) { PutU32(bytes + offset, static_cast<uint32_t>(value)); }

void PhoneOptionRecord::Clamp(uint32_t offset, int32_t low, int32_t high, int32_t fallback) {
    int32_t value = GetInt(offset);
    if (value < low || value > high) SetInt(offset, fallback);
}

void PhoneOptionRecord::Flag(uint32_t offset) {
    if (GetInt(offset) != 0) SetInt(offset, 1);
}

void PhoneOptionRecord::Sanitize() {
    if (LockoutRemainingMs() < 0) SetLockoutRemainingMs(0);
    Clamp(24, 0, 1, 0);
    Clamp(28, 0, 1, 1);
    Clamp(32, 0, 6, 4);
    Clamp(kLockoutDuration, 0, 3, 0);
    Clamp(564, 0, 1, 0);
    Flag(568);
    Clamp(572, 0, 3, 1);
    Flag(584);
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
