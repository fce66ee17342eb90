// tessera-phone: the phone stand-in.

#include <CLI/CLI.hpp>
#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <optional>

#include "phone/CardGenerator.h"
#include "phone/ExitStatus.h"
#include "phone/NewStoreFile.h"
#include "phone/PhoneReport.h"
#include "phone/PhoneSetup.h"
#include "phone/SampleCards.h"
#include "phone/ServeCommand.h"
#include "store/PasswordBytes.h"

namespace {

struct NewStoreOptions {
    std::string file;
    StoreKind kind = StoreKind::Wallet;
};

// Why a wallet password cannot be used; empty when it can.
std::string PasswordProblem(const std::optional<SecureBytes>& password) {
    if (!password) return "the wallet password is not valid UTF-8";
    if (password->empty()) return "the wallet password is empty";
    if (!PasswordFitsLogin(*password))
        return "the wallet password is longer than the 31 characters the login takes";
    return {};
}

void AddNewStore(CLI::App& app, NewStoreOptions& options, int& status) {
    CLI::App* command = app.add_subcommand(
        "new-store", "Create an empty store file (the wallet password is read from standard input)");
    command->add_option("FILE", options.file, "The file to create")->required();
    const std::map<std::string, StoreKind> kinds{{"wallet", StoreKind::Wallet},
                                                 {"templates", StoreKind::Templates}};
    command->add_option("--type", options.kind, "wallet or templates")
        ->required()
        ->transform(CLI::CheckedTransformer(kinds, CLI::ignore_case));
    command->callback([&options, &status] {
        bool templates = options.kind == StoreKind::Templates;
        std::optional<SecureBytes> password =
            templates ? PasswordBytes(kTemplatesPassword) : ReadPasswordLine(std::cin);
        std::string error = templates ? "" : PasswordProblem(password);
        if (!error.empty() ||
            !CreateStoreFile(options.file, options.kind, password->data(), password->size(), error)) {
            std::cerr << "tessera-phone: cannot create " << options.file << ": " << error << "\n";
            status = kFailed;
        }
    });
}

struct PhoneOptions {
    std::string dir;
    std::string installPath{kDefaultInstallPath};
    bool noWallet = false;
    uint32_t cards = 0;
    std::string version;
};

// Reports a failed command's error and keeps its result as the exit status.
void Finish(int code, const std::string& error, int& status) {
    if (code != 0) std::cerr << "tessera-phone: " << error << "\n";
    status = code;
}

// Prints the JSON that a command that succeeded made.
int Print(int code, const nlohmann::ordered_json& json, int indent = -1) {
    if (code == 0) std::cout << json.dump(indent) << "\n";
    return code;
}

// The wallet password from standard input; nothing, with the failure reported, when it cannot be used.
std::optional<SecureBytes> ReadWalletPassword(int& status) {
    std::optional<SecureBytes> password = ReadPasswordLine(std::cin);
    const std::string problem = PasswordProblem(password);
    if (problem.empty()) return password;
    Finish(1, problem, status);
    return std::nullopt;
}

CLI::App* AddPhoneCommand(CLI::App& app, const char* name, const char* help, PhoneOptions& options) {
    CLI::App* command = app.add_subcommand(name, help);
    command->add_option("DIR", options.dir, "The phone folder")->required();
    return command;
}

void AddInit(CLI::App& app, PhoneOptions& options, int& status) {
    CLI::App* command = AddPhoneCommand(
        app, "init",
        "Make a phone with the wallet application (the wallet password is read from standard input)",
        options);
    command->add_option("--install-path", options.installPath, "The application's folder on the phone");
    command->add_flag("--no-wallet", options.noWallet,
                      "Leave the wallet uninitialised (no password is read)");
    command->callback([&options, &status] {
        std::optional<SecureBytes> password;
        if (!options.noWallet && !(password = ReadWalletPassword(status))) return;
        std::string error;
        Finish(InitPhone(options.dir, options.installPath, password ? &*password : nullptr, error), error,
               status);
    });
}

void AddSamples(CLI::App& app, PhoneOptions& options, int& status) {
    CLI::App* command = AddPhoneCommand(
        app, "add-samples", "Add sample cards to the wallet (password on standard input)", options);
    command->callback([&options, &status] {
        std::optional<SecureBytes> password = ReadWalletPassword(status);
        std::string error;
        if (password) Finish(AddSampleCards(options.dir, *password, error), error, status);
    });
}

void AddGenerate(CLI::App& app, PhoneOptions& options, int& status) {
    CLI::App* command = AddPhoneCommand(
        app, "generate", "Add generated cards to the wallet (password on standard input)", options);
    command->add_option("--cards", options.cards, "How many cards")
        ->required()
        ->check(CLI::Range(1u, kMaxGeneratedCards));
    command->callback([&options, &status] {
        std::optional<SecureBytes> password = ReadWalletPassword(status);
        std::string error;
        if (password)
            Finish(GenerateCards(options.dir, *password, options.cards, &std::cerr, error), error, status);
    });
}

void AddApp(CLI::App& app, PhoneOptions& options, int& status) {
    CLI::App* command =
        AddPhoneCommand(app, "app", "Start, close, install or uninstall the wallet application", options);
    command->require_subcommand(1);
    auto action = [&](const char* name, const char* help, std::function<int(std::string&)> run) {
        return command->add_subcommand(name, help)->callback([&status, run] {
            std::string error;
            Finish(run(error), error, status);
        });
    };
    action("start", "Start the application",
           [&](std::string& e) { return SetAppRunning(options.dir, true, e); });
    action("close", "Close the application",
           [&](std::string& e) { return SetAppRunning(options.dir, false, e); });
    action("uninstall", "Uninstall the application (the files stay)",
           [&](std::string& e) { return UninstallApp(options.dir, e); });
    action("install", "Install the application, or change its version",
           [&](std::string& e) { return InstallApp(options.dir, options.version, e); })
        ->add_option("--version", options.version, "The version the registry shows")
        ->required();
    action("status", "Print the application's state as JSON", [&](std::string& e) {
        nlohmann::ordered_json json;
        return Print(AppStatus(options.dir, json, e), json);
    });
}

void AddInspect(CLI::App& app, PhoneOptions& options, int& status) {
    CLI::App* command = AddPhoneCommand(
        app, "inspect", "Print the registry, the application's state and its files as JSON", options);
    command->callback([&options, &status] {
        nlohmann::ordered_json json;
        std::string error;
        Finish(Print(InspectPhone(options.dir, json, error), json, 2), error, status);
    });
}

void AddServe(CLI::App& app, int& status) {
    auto options = std::make_shared<ServeOptions>();
    CLI::App* command = app.add_subcommand(
        "serve", "Serve the phone to the desktop over a local socket until SIGINT or SIGTERM");
    command->add_option("DIR", options->phoneDir, "The phone folder")->required();
    command->add_option("--socket", options->socket,
                        "The socket (default: $XDG_RUNTIME_DIR/pocketdeck/phone.sock)");
    command->callback([options, &status] { status = ServePhone(*options); });
}

}  // namespace

int main(int argc, char** argv) {
    try {
        CLI::App app{"tessera-phone: a phone with the wallet application, kept in a folder"};
        app.set_version_flag("--version", std::string("tessera-phone ") + TESSERA_VERSION);
        app.require_subcommand(1);
        int status = 0;
        NewStoreOptions newStore;
        AddNewStore(app, newStore, status);
        PhoneOptions phone;
        AddInit(app, phone, status);
        AddSamples(app, phone, status);
        AddGenerate(app, phone, status);
        AddApp(app, phone, status);
        AddInspect(app, phone, status);
        AddServe(app, status);
        CLI11_PARSE(app, argc, argv);
        return status;
    } catch (const std::exception& e) {
        std::cerr << "tessera-phone: " << e.what() << "\n";
        return kFailed;
    }
}
