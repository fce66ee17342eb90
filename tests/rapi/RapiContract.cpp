#include "RapiContract.h"

#include "RunningAgent.h"
#include "platform/rapi/phone/FolderTransport.h"

std::vector<ContractTransport> ContractTransports() {
    return {
        {"Folder", [](const std::filesystem::path& dir) { return std::make_shared<FolderTransport>(dir); }},
        {"Socket",
         [](const std::filesystem::path& dir) { return std::make_shared<AgentBackedTransport>(dir); }},
    };
}

std::string ContractTransportName(const ::testing::TestParamInfo<ContractTransport>& info) {
    return info.param.name;
}

void PrintTo(const ContractTransport& transport, std::ostream* out) {
    *out << transport.name;
}

void RapiContractTest::SetUp() {
    std::filesystem::create_directory(phone / "fs");
    std::filesystem::create_directory(Outside());
    const std::string registry = R"({
        "HKEY_LOCAL_MACHINE\\Software\\Quillmark Tessera": {
            "InstallPath": {"type": "sz", "value": "\\Program Files\\Tessera"},
            "Version": {"type": "dword", "value": 262145}
        },
        "HKEY_LOCAL_MACHINE\\Software\\Broken": {"Value": {"type": "dword", "value": -1}}
    })";
    WriteBytes(phone / "registry.json", std::vector<uint8_t>(registry.begin(), registry.end()));
    Connect(GetParam().make(phone.Path()));
}

HANDLE Open(const char16_t* name, DWORD access, DWORD share, DWORD disposition) {
    return CeCreateFile(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD OpenError(const char16_t* name, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = Open(name, access, share, disposition);
    if (file == INVALID_HANDLE_VALUE) return CeGetLastError();
    CeCloseHandle(file);
    return ERROR_SUCCESS;
}

bool Write(HANDLE file, std::string_view data) {
    DWORD written = 0;
    return CeWriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
           written == data.size();
}

std::string Read(HANDLE file, DWORD n) {
    std::string data(n, '\0');
    DWORD read = 0;
    if (!CeReadFile(file, data.data(), n, &read, nullptr))
        return "<error " + std::to_string(CeGetLastError()) + ">";
    data.resize(read);
    return data;
}

void Put(const char16_t* name, std::string_view contents) {
    HANDLE file = Open(name, GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << CeGetLastError();
    EXPECT_TRUE(Write(file, contents));
    EXPECT_TRUE(CeCloseHandle(file));
}

std::string Contents(const char16_t* name) {
    HANDLE file = Open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return "<error " + std::to_string(CeGetLastError()) + ">";
    std::string contents = Read(file, 1 << 16);
    CeCloseHandle(file);
    return contents;
}

std::vector<std::u16string> FindNames(const char16_t* pattern) {
    std::vector<std::u16string> names;
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (CeFindNextFile(search, &data));
    EXPECT_EQ(CeGetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(CeFindClose(search));
    return names;
}
