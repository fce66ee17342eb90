#pragma once
// Serves a phone kept in a host folder, in process: PHONE/fs is the phone's file system root ("\") and
// PHONE/registry.json its registry (layout in PhoneRegistry.h). Only that folder is served: paths that
// would leave it, symbolic links and special files are refused. "No sharing" opens hold across all
// sessions of one transport. PHONE/state.json tells the wallet application's state (WalletApp.h). Sessions
// may be used from several threads at once, one thread each.

#include <filesystem>
#include <memory>

#include "platform/rapi/api/RapiTransport.h"

class FolderFileSystem;
class PhoneRegistry;
class WalletApp;

class FolderTransport : public RapiTransport {
public:
    explicit FolderTransport(std::filesystem::path phoneDir);
    // Serves a plain folder as the phone's file system root, with no registry.
    static std::shared_ptr<FolderTransport> ForFsRoot(std::filesystem::path fsRoot);

    // nullptr when the phone's file system folder does not exist.
    using RapiTransport::Connect;
    std::unique_ptr<RapiSession> Connect(DWORD& error) override;

private:
    FolderTransport(std::filesystem::path fsRoot, std::filesystem::path registryFile,
                    std::filesystem::path stateFile);

    std::shared_ptr<FolderFileSystem> files;
    std::shared_ptr<const PhoneRegistry> registry;
    std::shared_ptr<WalletApp> app;
};
