#pragma once
// The operations a session carries, listed once: the fault injector counts them and the wire numbers
// them (after Hello, in this order), so a new operation is added here and nowhere else.
#include <cstddef>
#include <cstdint>

#define TESSERA_RAPI_OPERATIONS(X) \
    X(CreateFile)                  \
    X(ReadFile)                    \
    X(WriteFile)                   \
    X(SetFilePointer)              \
    X(GetFileSize)                 \
    X(CloseHandle)                 \
    X(FindFirstFile)               \
    X(FindNextFile)                \
    X(FindClose)                   \
    X(CreateDirectory)             \
    X(CopyFile)                    \
    X(MoveFile)                    \
    X(DeleteFile)                  \
    X(RegOpenKey)                  \
    X(RegQueryValue)               \
    X(RegCloseKey)                 \
    X(GetAppState)                 \
    X(CloseApp)

#define TESSERA_RAPI_ENUMERATOR(name) name,

enum class RapiOp : uint32_t { TESSERA_RAPI_OPERATIONS(TESSERA_RAPI_ENUMERATOR) };
inline constexpr size_t kRapiOpCount = static_cast<size_t>(RapiOp::CloseApp) + 1;
