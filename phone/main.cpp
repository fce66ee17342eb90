// tessera-phone: the phone stand-in.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <map>

#include "phone/NewStoreFile.h"
#include "platform/Utf16.h"
#include "store/PasswordBytes.h"

namespace {

SecureBytes ReadPasswordLine() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    SecureBytes bytes = PasswordBytes(Utf8ToUtf16Lossy(line));
    SecureZero(line.data(), line.size());
    return bytes;
}

struct NewStoreOptions {
    std::string file;
    StoreKind kind = StoreKind::Wallet;
};

void AddNewStore(CLI::App& app, NewStoreOptions& options, int& status) {
    CLI::App* command = app.add_subcommand(
        "new-store", "Create an empty store file (the wallet password is read from standard input)");
    command->add_option("FILE", options.file, "The file to create")->required();
    const std::map<std::string, StoreKind> kinds{{"wallet", StoreKind::Wallet}, {"templates", StoreKind::Templates}};
    command->add_option("--type", options.kind, "wallet or templates")
        ->required()
        ->transform(CLI::CheckedTransformer(kinds, CLI::ignore_case));
    command->callback([&options, &status] {
        bool templates = options.kind == StoreKind::Templates;
        SecureBytes password = templates ? PasswordBytes(kTemplatesPassword) : ReadPasswordLine();
        std::string error;
        if (!CreateStoreFile(options.file, options.kind, password.data(), password.size(), error)) {
            std::cerr << "tessera-phone: cannot create " << options.file << ": " << error << "\n";
            status = 1;
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    try {
        CLI::App app{"tessera-phone: a phone with the wallet application, kept in a folder"};
        app.require_subcommand(1);
        int status = 0;
        NewStoreOptions newStore;
        AddNewStore(app, newStore, status);
        CLI11_PARSE(app, argc, argv);
        return status;
    } catch (const std::exception& e) {
        std::cerr << "tessera-phone: " << e.what() << "\n";
        return 1;
    }
}
