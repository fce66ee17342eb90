#include "cli/WalletCommandLine.h"

#include <iostream>

#include "cli/WalletBackups.h"
#include "cli/WalletChanges.h"
#include "cli/WalletImport.h"
#include "cli/WalletQueries.h"
#include "cli/WalletRepair.h"

namespace {

using Command = int (*)(const WalletCommandOptions&, std::istream&, std::ostream&, std::ostream&);

// A subcommand that reaches the wallet, with the options every such command shares.
CLI::App* WalletCommand(CLI::App& parent, const char* name, const char* help, WalletCommandOptions& options,
                        int& status, Command command) {
    CLI::App* sub = parent.add_subcommand(name, help);
    sub->add_option("--phone", options.phone.phone, "The phone: unix:SOCKET or folder:PHONE_DIR");
    sub->add_flag("--password-stdin", options.phone.passwordStdin,
                  "Read the password as one line of standard input");
    sub->callback(
        [&options, &status, command] { status = command(options, std::cin, std::cout, std::cerr); });
    return sub;
}

void AddCardEditOptions(CLI::App* sub, WalletCommandOptions& options) {
    sub->add_option("--name", options.name, "The card's name");
    sub->add_option("--set", options.sets,
                    "Field=Value (repeatable); a new name adds a TEXT field; not for PASSWORD fields");
    sub->add_option(
        "--set-secret", options.secrets,
        "NAME (repeatable): read this field's value without echo, or with --password-stdin as the "
        "next line of standard input after the password; a new name adds a PASSWORD field");
    sub->add_option("--category", options.category, "Category id (0: none)");
    sub->add_option("--icon", options.icon, "Icon 0-79");
}

void AddQueries(CLI::App& app, WalletCommandOptions& options, int& status) {
    CLI::App* list =
        WalletCommand(app, "list", "The cards as the card list shows them", options, status, ListCards);
    list->add_option("--category", options.categoryFilter, "Only the cards of this category id (0: none)");
    list->add_option(
        "--find", options.find,
        "Only the cards whose name, text, web address or e-mail values hold this text (never a password)");
    list->add_option("--sort", options.sort, "name, category, created or modified")
        ->check(CLI::IsMember({"name", "category", "created", "modified"}));
    list->add_flag("--desc", options.descending, "Descending order");
    list->add_flag("--json", options.json, "JSON output");

    CLI::App* show = WalletCommand(app, "show", "One card with its fields", options, status, ShowCard);
    show->add_option("ID", options.id, "Card id")->required();
    show->add_flag("--reveal", options.reveal, "Show passwords");
    show->add_flag("--json", options.json, "JSON output");

    WalletCommand(app, "templates", "The templates", options, status, ListTemplates)
        ->add_flag("--json", options.json, "JSON output");
    WalletCommand(app, "categories", "The categories", options, status, ListCategories)
        ->add_flag("--json", options.json, "JSON output");
    CLI::App* exportCommand = WalletCommand(app, "export", "Write every card to a file (plain text!)",
                                            options, status, ExportWallet);
    exportCommand->add_option("FILE", options.file, "The file to write")->required();
    exportCommand->add_option("--format", options.format, "text (the default), csv or json")
        ->check(CLI::IsMember({"text", "csv", "json"}));
}

void AddChanges(CLI::App& app, WalletCommandOptions& options, int& status) {
    CLI::App* add = WalletCommand(app, "add", "Add a card", options, status, AddCard);
    auto* blank = add->add_flag("--blank", options.blank, "Start from a blank card");
    auto* from = add->add_option("--template", options.templateId, "Start from this template id");
    blank->excludes(from);
    AddCardEditOptions(add, options);

    CLI::App* edit = WalletCommand(app, "edit", "Change a card", options, status, EditCard);
    edit->add_option("ID", options.id, "Card id")->required();
    AddCardEditOptions(edit, options);

    CLI::App* import = WalletCommand(app, "import", "Add the cards of a CSV file or of our JSON export",
                                     options, status, ImportCards);
    import->add_option("FILE", options.file, "The file to read")->required();
    import->add_option("--format", options.format, "csv or json (default: json for a .json file, else csv)")
        ->check(CLI::IsMember({"csv", "json"}));
    import->add_option("--template", options.templateId, "CSV: make each card from this template id");
    import->add_option("--category", options.category, "Put every card in this category id (0: none)");
    import->add_flag("--dry-run", options.dryRun, "Show what would be added; write nothing");

    WalletCommand(app, "rm", "Delete cards", options, status, RemoveCards)
        ->add_option("ID", options.ids, "Card ids")
        ->required();

    CLI::App* category =
        app.add_subcommand("category", "Add, rename or delete a category")->require_subcommand(1);
    CLI::App* categoryAdd = WalletCommand(*category, "add", "Add a category", options, status, AddCategory);
    categoryAdd->add_option("NAME", options.categoryName, "Its name")->required();
    categoryAdd->add_option("--icon", options.icon, "Icon 0-79");
    CLI::App* rename =
        WalletCommand(*category, "rename", "Rename a category", options, status, RenameCategory);
    rename->add_option("ID", options.id, "Category id")->required();
    rename->add_option("NAME", options.categoryName, "Its new name")->required();
    rename->add_option("--icon", options.icon, "Icon 0-79");
    CLI::App* rm = WalletCommand(*category, "rm", "Delete a category", options, status, RemoveCategory);
    rm->add_option("ID", options.id, "Category id")->required();
    rm->add_flag("--delete-cards", options.deleteCards,
                 "Delete its cards too (else they lose their category)");
}

void AddBackups(CLI::App& app, WalletCommandOptions& options, int& status) {
    CLI::App* backup =
        app.add_subcommand("backup", "The wallet's backups on the phone")->require_subcommand(1);
    WalletCommand(*backup, "list", "The backups: name, time, cards", options, status, ListBackups)
        ->add_flag("--json", options.json, "JSON output");
    WalletCommand(*backup, "make", "Back the wallet up on the phone", options, status, MakeBackup);
    WalletCommand(*backup, "rm", "Delete a backup", options, status, RemoveBackup)
        ->add_option("NAME", options.backupName, "The backup's file name")
        ->required();
    WalletCommand(*backup, "restore",
                  "Replace the wallet with a backup (asks for the backup's password after the wallet's)",
                  options, status, RestoreWallet)
        ->add_option("NAME", options.backupName, "The backup's file name")
        ->required();
}

}  // namespace

void AddWalletCommands(CLI::App& app, WalletCommandOptions& options, int& status) {
    AddQueries(app, options, status);
    AddChanges(app, options, status);
    AddBackups(app, options, status);
    WalletCommand(
        app, "repair",
        "Repair what a cut save left in the wallet and the templates file; finish or roll back a cut restore",
        options, status, RepairWallet)
        ->add_flag("--salvage", options.salvage,
                   "A file that no cut save explains: write it again with every record that still decrypts");
    WalletCommand(app, "check",
                  "Check the wallet and the templates file: sound, or what a cut save or restore left",
                  options, status, CheckWallet);
}
