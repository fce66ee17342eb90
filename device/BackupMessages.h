#pragma once
// What the user is told about backups, in the plug-in's message boxes and by the command line alike: the
// plug-in's string table (ui/StringTable.cpp) and `tessera` (cli/WalletBackups.cpp, cli/PhoneAccess.cpp)
// both take the words from here, the one folder both may include.

inline constexpr char kBackupDoneText[] = "Backup to %s complete!";
inline constexpr char kBackupFailedText[] = "Backup failed!";
inline constexpr char kReadBackupFailedText[] = "Read backup failed!";
inline constexpr char kRestoreDoneText[] =
    "Restore completed successfully! Please restart Pocketdeck and login with the backup file password.\n\n"
    "Press OK to continue.";
inline constexpr char kRestoreFailedText[] = "Restore failed!";
inline constexpr char kRestoreUnfinishedText[] =
    "Restore failed! An earlier restore did not finish.\n\nRun 'tessera repair' to finish it or roll it "
    "back.";
inline constexpr char kReadFailedRestoreText[] =
    "Read Tessera data failed! A restore did not finish.\n\nRun 'tessera repair' to finish it or roll it "
    "back.";
