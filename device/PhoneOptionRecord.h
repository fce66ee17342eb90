#pragma once
// The phone application's option record, "Options.dat": 608 bytes, little-endian, read and written
// whole. The plug-in uses the lockout fields and the backup folder, keeps the application's own
// settings in range, and leaves every other byte as read; the phone's own tools write a fresh one.

#include <cstdint>
#include <string>

class PhoneOptionRecord {
public:
    static constexpr uint32_t kSize = 608;
    static constexpr uint32_t kBackupFolderUnits = 260;
    // Byte offsets of the fields the plug-in reads.
    static constexpr uint32_t kLockoutRemaining = 20;
    static constexpr uint32_t kLockoutDuration = 36;
    static constexpr uint32_t kBackupFolder = 40;

    // A signed setting kept in [low, high]; a value outside becomes fallback, which is also the value a
    // fresh installation writes.
    struct Setting {
        uint32_t offset;
        int32_t low, high, fallback;
    };
    static constexpr Setting kSettings[] = {{24, 0, 1, 0},  {28, 0, 1, 1},
                                            {32, 0, 6, 4},  {kLockoutDuration, 0, 3, 0},
                                            {564, 0, 1, 0}, {572, 0, 3, 1}};
    // Flags: any value but 0 is kept as 1.
    static constexpr uint32_t kFlags[] = {568, 584};

    // As a fresh installation of the wallet application writes it: no lockout, the shortest lockout
    // duration, every setting at its fallback, every flag clear and the given backup folder (cut to fit).
    static PhoneOptionRecord Fresh(std::u16string_view backupFolder);

    // Reads the file whole, then keeps every field in range; a failed read keeps the previous bytes
    // (kept in range all the same). 1 or 0.
    int Read(const char16_t* path);
    // Keeps every field in range, then writes the record whole. 1 or 0.
    int Write(const char16_t* path);
    void Sanitize();
    // Every setting at its fallback.
    void ResetSettings();

    int32_t LockoutRemainingMs() const { return GetInt(kLockoutRemaining); }
    void SetLockoutRemainingMs(int32_t ms) { SetInt(kLockoutRemaining, ms); }
    // 0 to 3: a lockout of 5, 10, 30 or 60 minutes.
    int32_t LockoutDurationIndex() const { return GetInt(kLockoutDuration); }
    // The backup folder up to its terminator.
    std::u16string BackupFolder() const;
    void SetBackupFolder(std::u16string_view folder);

    const uint8_t* Bytes() const { return bytes; }
    uint8_t* Bytes() { return bytes; }

private:
    int32_t GetInt(uint32_t offset) const;
    void SetInt(uint32_t offset, int32_t value);

    uint8_t bytes[kSize] = {};
};
