#include "cli/StoreCommands.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>

#include "cli/ExitStatus.h"
#include "cli/PasswordPrompt.h"
#include "cli/RecordJson.h"
#include "platform/SystemTime.h"
#include "platform/Utf16.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"
#include "store/PasswordBytes.h"
#include "store/StoreRepair.h"
#include "store/TesseraEncryptedLinkList.h"

namespace {

// A local store file reached through the folder transport: its folder is served as the phone's
// root for the lifetime of this object.
class LocalStore {
public:
    explicit LocalStore(const StoreCommandOptions& options) {
        std::filesystem::path file = std::filesystem::absolute(options.file);
        RapiSetTransport(FolderTransport::ForFsRoot(file.parent_path()));
        connection = std::make_unique<RapiConnection>();
        store = std::make_unique<CTesseraEncryptedLinkList>(
            u"\\" + Utf8ToUtf16Lossy(file.filename().string()),
            options.templates ? kTemplatesFileType : kWalletFileType);
    }
    bool Connected() const { return connection->Ok(); }
    CTesseraEncryptedLinkList& operator*() { return *store; }
    CTesseraEncryptedLinkList* operator->() { return store.get(); }

private:
    std::unique_ptr<RapiConnection> connection;
    std::unique_ptr<CTesseraEncryptedLinkList> store;
};

// The store's password: the built-in one of a templates file, else a line of standard input, which must be
// UTF-8. Nothing, with a message, when it is not.
std::optional<SecureBytes> StorePassword(const StoreCommandOptions& options, std::istream& in,
                                         std::ostream& err) {
    KeepSecretsFromDumps();
    std::optional<SecureBytes> password =
        options.templates ? PasswordBytes(kTemplatesPassword) : ReadInputPassword(in);
    if (!password) err << "tessera: the password is not valid UTF-8\n";
    return password;
}

// Opens the store and, unless `withPassword` is false, unlocks it. 0 when ready, else the exit status.
int OpenStore(LocalStore& store, const StoreCommandOptions& options, std::istream& in, std::ostream& err) {
    if (!store.Connected()) {
        err << "tessera: cannot reach the folder of " << options.file << "\n";
        return kExitFailed;
    }
    int code = store->Open();
    if (code != 0) {
        err << "tessera: cannot open " << options.file << " as a "
            << (options.templates ? "templates" : "wallet") << " store (code " << code << ")\n";
        return kExitFailed;
    }
    std::optional<SecureBytes> password = StorePassword(options, in, err);
    if (!password) return kExitFailed;
    if (!store->CheckPassword(password->data(), password->size())) {
        err << "tessera: wrong password\n";
        return kExitWrongPassword;
    }
    return kExitOk;
}

OrderedJson RecordToJson(CTesseraEncryptedLinkList& store, const item_entry_struct& entry) {
    OrderedJson json{{"id", entry.id}, {"offset", entry.offset}};
    SecureBytes plain;
    CTesseraItem item;
    if (!store.GetRecordData(&entry, &plain)) {
        json["error"] = "decrypt";
    } else if (!item.Deserialize(plain.data(), plain.size())) {
        json["error"] = "parse";
    } else {
        json.update(ItemToJson(item));
    }
    return json;
}

bool ReadRecordFile(const std::string& path, CTesseraItem& item, std::ostream& err) {
    std::ifstream file(path);
    if (!file) {
        err << "tessera: cannot read " << path << "\n";
        return false;
    }
    nlohmann::json json = nlohmann::json::parse(file, nullptr, false);
    std::string error = json.is_discarded() ? "not valid JSON" : "";
    if (error.empty() && ItemFromJson(json, item, error)) return true;
    err << "tessera: " << path << ": " << error << "\n";
    return false;
}

}  // namespace

int StoreInfo(const StoreCommandOptions& options, std::ostream& out, std::ostream& err) {
    LocalStore store(options);
    if (!store.Connected()) {
        err << "tessera: cannot reach the folder of " << options.file << "\n";
        return kExitFailed;
    }
    int code = store->Open();
    if (code != 0) {
        out << OrderedJson{{"code", code}}.dump() << "\n";
        return kExitFailed;
    }
    auto version = store->FileVersion();
    OrderedJson json{{"code", 0},
                     {"type", store->FileType()},
                     {"version", {version[0], version[1], version[2], version[3]}},
                     {"modified", FormatTime(store->ModifiedTime())},
                     {"checksum", store->Checksum()},
                     {"passwordBlockLength", store->PasswordBlockLength()},
                     {"records", store->records.count},
                     {"lastId", store->lastId}};
    out << json.dump() << "\n";
    return kExitOk;
}

int StoreDump(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    LocalStore store(options);
    if (int status = OpenStore(store, options, in, err)) return status;
    for (auto* node = store->records.head; node; node = node->next)
        out << RecordToJson(*store, node->element).dump() << "\n";
    return kExitOk;
}

int StorePut(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    CTesseraItem item;
    if (!ReadRecordFile(options.recordJsonFile, item, err)) return kExitFailed;
    LocalStore store(options);
    if (int status = OpenStore(store, options, in, err)) return status;
    item_entry_struct* entry = store->FindRecord(options.id);
    bool written = entry ? store->UpdateRecord(item, entry) : store->AddRecord(item, options.id);
    if (!written) {
        err << "tessera: the record could not be written to " << options.file << "\n";
        return kExitFailed;
    }
    if (!entry) entry = &store->records.tail->element;
    out << OrderedJson{{"id", entry->id}, {"offset", entry->offset}}.dump() << "\n";
    return kExitOk;
}

int StoreRemove(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    LocalStore store(options);
    if (int status = OpenStore(store, options, in, err)) return status;
    item_entry_struct* entry = store->FindRecord(options.id);
    if (!entry) {
        err << "tessera: no record with id " << options.id << " in " << options.file << "\n";
        return kExitFailed;
    }
    if (!store->DeleteRecord(entry)) {
        err << "tessera: the record could not be deleted from " << options.file << "\n";
        return kExitFailed;
    }
    out << OrderedJson{{"id", options.id}, {"deleted", true}}.dump() << "\n";
    return kExitOk;
}

RepairMode RepairModeOf(bool checkOnly, bool salvage) {
    if (checkOnly) return RepairMode::kCheck;
    return salvage ? RepairMode::kSalvage : RepairMode::kRepair;
}

int PrintRepair(const std::string& name, RepairResult result, const std::string& report, std::ostream& out,
                std::ostream& err) {
    if (result == RepairResult::kWrongPassword) {
        err << "tessera: " << name << ": " << report << "\n";
        return kExitWrongPassword;
    }
    if (result == RepairResult::kRefused || result == RepairResult::kNeedsRepair) {
        err << "tessera: " << name << ": " << (result == RepairResult::kRefused ? "left alone: " : "")
            << report << "\n";
        return kExitFailed;
    }
    out << name << ": " << report << "\n";
    return kExitOk;
}

int StoreRepair(const StoreCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                bool checkOnly) {
    LocalStore store(options);
    if (!store.Connected()) {
        err << "tessera: cannot reach the folder of " << options.file << "\n";
        return kExitFailed;
    }
    std::optional<SecureBytes> password = StorePassword(options, in, err);
    if (!password) return kExitFailed;
    std::string report;
    uint32_t type = options.templates ? kTemplatesFileType : kWalletFileType;
    RepairResult result = RepairStoreFile(store->Path(), type, *password, GetSystemTimeUtc(), report,
                                          RepairModeOf(checkOnly, options.salvage));
    return PrintRepair(options.file, result, report, out, err);
}
