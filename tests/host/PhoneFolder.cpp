#include "PhoneFolder.h"

#include "TestSupport.h"

bool MakePhone(const std::filesystem::path& dir) {
    return RunShell("echo 'pass word' | " TESSERA_PHONE_EXE " init " + dir.string()).status == 0;
}

bool SetPhoneAppRunning(const std::filesystem::path& dir, bool running) {
    return RunShell(TESSERA_PHONE_EXE " app " + dir.string() + (running ? " start" : " close")).status == 0;
}

bool AddCards(const std::filesystem::path& dir, int count) {
    return RunShell("echo 'pass word' | " TESSERA_PHONE_EXE " generate " + dir.string() + " --cards " +
                    std::to_string(count))
               .status == 0;
}
