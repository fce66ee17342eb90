// Feeds arbitrary frames to one agent connection after a valid handshake: the decoding of every
// operation's request and the calls it makes on a small phone folder, which is set up afresh each time.
#include <memory>

#include "FuzzLink.h"
#include "TestSupport.h"
#include "phone/AgentSession.h"
#include "platform/rapi/phone/FolderTransport.h"

namespace {

struct Phone {
    TempDir dir;
    std::shared_ptr<FolderTransport> transport = std::make_shared<FolderTransport>(dir.Path());

    Phone() {
        WriteBytes(dir / "registry.json", std::vector<uint8_t>(kRegistry.begin(), kRegistry.end()));
        WriteBytes(dir / "state.json", {'{', '}'});
    }

    // The wallet application's files where the seed traffic found them, and a folder to list.
    void Reset() {
        std::filesystem::remove_all(dir / "fs");
        std::filesystem::path install = dir / "fs" / "Program Files" / "Tessera";
        std::filesystem::create_directories(install);
        for (const char* name : {"Tessera.dat", "Templates.dat", "Options.dat"})
            WriteBytes(install / name, std::vector<uint8_t>(700, 0x5A));
    }

    static constexpr std::string_view kRegistry =
        R"({"HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera": {)"
        R"("InstallPath": {"type": "sz", "value": "\\Program Files\\Tessera"}, "Version": {"type": "dword", "value": 3}}})";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Phone phone;
    phone.Reset();
    WireWriter hello(WireOp::Hello);
    hello.U32(kLinkMagic);
    hello.U32(kLinkVersion);
    std::vector<uint8_t> feed = FrameBytes(hello);
    feed.insert(feed.end(), data, data + size);
    FuzzLink link(feed);
    AgentSession(link.Tested(), *phone.transport, std::chrono::seconds(1)).Serve();
    return 0;
}
