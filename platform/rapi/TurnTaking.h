#pragma once
// Opening a phone file without sharing, in turn with other programs: while another program holds the
// file (a sharing violation) the open is tried again after a pause that doubles from 5 ms up to 100 ms,
// for up to kTurnWait. The store and the device files open through here, so no caller waits on its own.

#include <chrono>

#include "platform/rapi/Rapi.h"

constexpr std::chrono::milliseconds kTurnWait{3000};

// As CeCreateFile with no sharing; after a failure CeGetLastError tells why (32: still in use).
HANDLE OpenWithoutSharing(const char16_t* path, DWORD access, DWORD disposition,
                          std::chrono::milliseconds wait = kTurnWait);
