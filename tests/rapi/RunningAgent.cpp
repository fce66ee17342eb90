#include "RunningAgent.h"

#include <gtest/gtest.h>

RunningAgent::RunningAgent(std::filesystem::path phoneDir, AgentLimits limits)
    : socket(socketDir / "phone.sock") {
    std::error_code ignored;
    std::filesystem::create_directory(phoneDir / "fs", ignored);
    agent = std::make_unique<PhoneAgent>(std::move(phoneDir), socket, nullptr, limits);
    std::string error;
    EXPECT_TRUE(agent->Start(error)) << error;
}

std::shared_ptr<SocketTransport> RunningAgent::Transport(LinkTimeouts timeouts) const {
    return std::make_shared<SocketTransport>(socket, timeouts);
}
