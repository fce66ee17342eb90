#pragma once
// A phone folder with a registry, reached through a fault-injecting transport (the folder one by default).

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "platform/rapi/testing/FaultInjectingTransport.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "fs" / "Program Files" / "Tessera");
        SetInstallPath("\\Program Files\\Tessera");
        faults = std::make_shared<FaultInjectingTransport>(Link());
        RapiSetTransport(faults);
    }
    void TearDown() override { RapiSetTransport(nullptr); }

    void SetInstallPath(const std::string& path) {
        nlohmann::json registry = {{"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera",
                                    {{"InstallPath", {{"type", "sz"}, {"value", path}}}}}};
        std::ofstream(dir / "registry.json") << registry.dump();
    }
    std::filesystem::path Fs(const std::string& relative) const { return dir / "fs" / relative; }
    // The transport under the faults: the folder one unless a test runs over another.
    virtual std::shared_ptr<RapiTransport> Link() { return std::make_shared<FolderTransport>(dir.Path()); }

    TempDir dir;
    std::shared_ptr<FaultInjectingTransport> faults;
};

// The same, with a connection serving the test's thread.
class ConnectedDeviceFixture : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        connection = std::make_unique<RapiConnection>();
        ASSERT_TRUE(connection->Ok());
    }
    void TearDown() override {
        connection.reset();
        DeviceFixture::TearDown();
    }
    std::unique_ptr<RapiConnection> connection;
};
