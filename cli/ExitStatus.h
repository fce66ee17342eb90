#pragma once
// The exit statuses of every tessera command.

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitWrongPassword = 2, kExitLockedOut = 3 };
