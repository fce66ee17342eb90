#pragma once
// File and folder operations on the phone over the thread's connection. Paths are absolute phone
// paths; a null path fails without calling the phone. Results are 1 for success and 0 for failure.

#include "platform/rapi/api/Rapi.h"
#include "store/DynamicList.h"

// The pause after a record file cannot be opened.
inline constexpr unsigned kRecordFileRetryPauseMs = 200;

int DeviceFileExists(const char16_t* path);
// Exists and is a folder.
int DeviceDirectoryExists(const char16_t* path);
// Creates every missing folder along the path, from the root down; stops at the first that fails.
int DeviceCreateDirectoryPath(const char16_t* path);
// Fills `entries` with every match of the pattern, in the phone's order; 0 with an empty list when
// nothing matches.
int DeviceListEntries(const char16_t* pattern, DynamicList<CE_FIND_DATA>& entries);

// Reads exactly `size` bytes from the start of a file into `destination`, which stays untouched
// unless all of them arrive. `error` (optional) receives the phone's error on failure.
int DeviceReadRecordFile(const char16_t* path, void* destination, DWORD size, DWORD* error);
// Writes `size` bytes at the start of the file, creating it when missing (a longer file keeps its tail).
int DeviceWriteRecordFile(const char16_t* path, const void* source, DWORD size, DWORD* error);

int DeviceCopyFile(const char16_t* from, const char16_t* to, bool failIfExists);
int DeviceMoveFile(const char16_t* from, const char16_t* to);
int DeviceDeleteFile(const char16_t* path);
