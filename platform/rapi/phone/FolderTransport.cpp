#include "platform/rapi/phone/FolderTransport.h"

#include "platform/rapi/phone/FolderSession.h"

FolderTransport::FolderTransport(std::filesystem::path phoneDir)
    : FolderTransport(phoneDir / "fs", phoneDir / "registry.json", phoneDir / "state.json") {}

FolderTransport::FolderTransport(std::filesystem::path fsRoot, std::filesystem::path registryFile,
                                 std::filesystem::path stateFile)
    : files(std::make_shared<FolderFileSystem>(std::move(fsRoot))),
      registry(std::make_shared<PhoneRegistry>(std::move(registryFile))),
      app(std::make_shared<WalletApp>(std::move(stateFile), registry)) {}

std::shared_ptr<FolderTransport> FolderTransport::ForFsRoot(std::filesystem::path fsRoot) {
    return std::shared_ptr<FolderTransport>(new FolderTransport(std::move(fsRoot), {}, {}));
}

std::unique_ptr<RapiSession> FolderTransport::Connect(DWORD& error) {
    std::error_code status;
    error = ERROR_NOT_CONNECTED;
    // A link in place of the root is never followed.
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(files->Root(), status)))
        return nullptr;
    return std::make_unique<FolderSession>(files, registry, app);
}
