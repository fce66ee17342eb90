#pragma once
// The results of every tessera-phone command, which are also its exit statuses.

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kWrongPassword = 2;
