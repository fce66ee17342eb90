#pragma once
// Using a phone file in turn with other programs: while another program holds the file (a sharing
// violation) the call is tried again after a pause that doubles from 5 ms up to 100 ms, for up to
// kTurnWait. The store and the device files open, copy, move and delete through here, so no caller waits
// on its own.

#include <chrono>
#include <functional>

#include "platform/rapi/api/Rapi.h"

constexpr std::chrono::milliseconds kTurnWait{3000};

// Runs attempt until it succeeds, fails for another reason than a sharing violation, or wait is over.
bool TakeTurns(const std::function<bool()>& attempt, std::chrono::milliseconds wait = kTurnWait);

// As CeCreateFile with no sharing; after a failure CeGetLastError tells why (32: still in use).
HANDLE OpenWithoutSharing(const char16_t* path, DWORD access, DWORD disposition,
                          std::chrono::milliseconds wait = kTurnWait);

// As CeCopyFile, in turn with the programs that hold either file.
BOOL CopyInTurn(const char16_t* from, const char16_t* to, BOOL failIfExists);
// As CeMoveFile and CeDeleteFile, in turn with the programs that hold the file.
BOOL MoveInTurn(const char16_t* from, const char16_t* to);
BOOL DeleteInTurn(const char16_t* path);
