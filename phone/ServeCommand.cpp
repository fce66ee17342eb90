#include "phone/ServeCommand.h"

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <string>

#include "phone/ExitStatus.h"
#include "phone/PhoneAgent.h"
#include "platform/rapi/wire/PhoneSocketPath.h"

int ServePhone(const ServeOptions& options) {
    // Blocked before the agent's threads start, so that they inherit the mask and only sigwait sees them.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::error_code ec;
    std::filesystem::path socket =
        options.socket.empty() ? DefaultPhoneSocketPath() : std::filesystem::path(options.socket);
    PhoneAgent agent(options.phoneDir, std::filesystem::absolute(socket, ec), &std::cerr);
    std::string error;
    if (!agent.Start(error)) {
        std::cerr << "tessera-phone: " << error << "\n";
        return kFailed;
    }
    std::cout << "tessera-phone: serving " << options.phoneDir << " on " << agent.Socket().string()
              << std::endl;
    int received = 0;
    sigwait(&stops, &received);
    agent.Stop();
    return kDone;
}
