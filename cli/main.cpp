// tessera: the command-line companion of the wallet.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/ExitStatus.h"
#include "cli/StoreCommands.h"
#include "cli/WalletCommandLine.h"

namespace {

void AddStoreCommands(CLI::App& app, StoreCommandOptions& options, int& status) {
    CLI::App* store =
        app.add_subcommand("store", "Inspect, dump and change one store file")->require_subcommand(1);
    auto fileArguments = [&](CLI::App* command) {
        command->add_option("FILE", options.file, "The store file (a local path)")->required();
        command->add_flag("--templates", options.templates,
                          "Open it as a templates file with the built-in password");
    };
    CLI::App* info = store->add_subcommand("info", "Print the header and record counts as JSON");
    fileArguments(info);
    info->callback([&] { status = StoreInfo(options, std::cout, std::cerr); });

    CLI::App* dump =
        store->add_subcommand("dump", "Print every live record as one JSON line (password on stdin)");
    fileArguments(dump);
    dump->callback([&] { status = StoreDump(options, std::cin, std::cout, std::cerr); });

    CLI::App* put =
        store->add_subcommand("put", "Update the record with that id, or add it (password on stdin)");
    fileArguments(put);
    put->add_option("--id", options.id, "Record id")->required();
    put->add_option("--json", options.recordJsonFile, "A file with the record as JSON")->required();
    put->callback([&] { status = StorePut(options, std::cin, std::cout, std::cerr); });

    CLI::App* rm = store->add_subcommand("rm", "Delete the record with that id (password on stdin)");
    fileArguments(rm);
    rm->add_option("--id", options.id, "Record id")->required();
    rm->callback([&] { status = StoreRemove(options, std::cin, std::cout, std::cerr); });

    CLI::App* repair = store->add_subcommand(
        "repair",
        "Repair what a cut save left: checksum, a partial last record, a cut grow (password on stdin)");
    fileArguments(repair);
    repair->add_flag(
        "--salvage", options.salvage,
        "A file that no cut save explains: write it again with every record that still decrypts");
    repair->callback([&] { status = StoreRepair(options, std::cin, std::cout, std::cerr, false); });

    CLI::App* check = store->add_subcommand(
        "check", "Check the file: header, checksum, password, every record, unique ids (password on stdin)");
    fileArguments(check);
    check->callback([&] { status = StoreRepair(options, std::cin, std::cout, std::cerr, true); });
}

}  // namespace

int main(int argc, char** argv) {
    try {
        CLI::App app{"tessera: the wallet's command-line companion"};
        app.set_version_flag("--version", std::string("tessera ") + TESSERA_VERSION);
        app.require_subcommand(1);
        StoreCommandOptions options;
        int status = 0;
        AddStoreCommands(app, options, status);
        WalletCommandOptions walletOptions;
        AddWalletCommands(app, walletOptions, status);
        CLI11_PARSE(app, argc, argv);
        return status;
    } catch (const std::exception& e) {
        std::cerr << "tessera: " << e.what() << "\n";
        return kExitFailed;
    }
}
