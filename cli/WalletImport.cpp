#include "cli/WalletImport.h"

#include <ostream>

#include "cli/WalletChanges.h"
#include "cli/WalletSession.h"
#include "model/CsvCards.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"
#include "platform/Utf16.h"

namespace {

constexpr size_t kShownCards = 3;

std::string FormatOf(const WalletCommandOptions& options) {
    if (!options.format.empty()) return options.format;
    return options.file.ends_with(".json") ? "json" : "csv";
}

bool Plan(CData& data, const WalletCommandOptions& options, ImportPlan& plan, std::ostream& err) {
    if (options.templateId && !data.FindRecordEntry(CData::kTemplateStore, *options.templateId)) {
        err << "tessera: no template with id " << *options.templateId << "\n";
        return false;
    }
    if (options.category && !CategoryExists(data, *options.category)) {
        err << "tessera: no category with id " << *options.category << "\n";
        return false;
    }
    std::string error;
    if (!PlanImportFile(data, options.file, FormatOf(options) == "json",
                        options.templateId.value_or(DefaultImportTemplate(data)), plan, error)) {
        err << "tessera: cannot import " << options.file << ": " << error << "\n";
        return false;
    }
    plan.category = options.category;
    for (const CsvProblem& problem : plan.skipped)
        err << "tessera: " << plan.problemUnit << " " << problem.line << " skipped: " << problem.reason
            << "\n";
    return true;
}

// The first cards as they would be added: name, category and each field with its type; passwords masked.
void ShowMapping(ImportPlan& plan, std::ostream& out) {
    for (size_t i = 0; i < plan.cards.size() && i < kShownCards; ++i) {
        const CTesseraItem& card = plan.Card(i);
        const std::u16string& category = plan.cards[i].category;
        out << "card " << i + 1 << ": " << Utf16ToUtf8Lossy(ItemName(card));
        if (!category.empty()) out << " [" << Utf16ToUtf8Lossy(category) << "]";
        out << "\n";
        for (auto* node = card.fields.head ? card.fields.head->next : nullptr; node; node = node->next) {
            const ItemField& field = node->element;
            std::string value = field.type == kFieldPassword ? std::string(8, '*')
                                : IsTimeField(field.type)    ? "(date)"
                                                             : Utf16ToUtf8Lossy(FieldText(field));
            out << "  " << Utf16ToUtf8Lossy(field.Name()) << " ("
                << Utf16ToUtf8Lossy(std::u16string(FieldTypeName(field.type))) << "): " << value << "\n";
        }
    }
}

int Summary(const ImportPlan& plan, size_t categories, std::ostream& out) {
    out << categories << " new categories, " << plan.skipped.size() << " " << plan.problemUnit
        << "s skipped\n";
    return plan.skipped.empty() ? kExitOk : kExitFailed;
}

}  // namespace

int ImportCards(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    std::optional<ImportPlan> plan;
    size_t categoriesAdded = 0;
    // Run again after another program changed the wallet, the plan goes on from the cards already added.
    return RunOnWallet(options.phone, in, err, !options.dryRun, [&](CData& data) -> int {
        if (!plan && !Plan(data, options, plan.emplace(), err)) return kExitFailed;
        if (options.dryRun) {
            out << "would add " << plan->cards.size() << " cards, ";
            int status = Summary(*plan, MissingCategories(data, *plan).size(), out);
            ShowMapping(*plan, out);
            return status;
        }
        ImportResult result = ApplyImport(data, *plan);
        categoriesAdded += result.categoriesAdded;
        if (!result.complete) {
            if (data.LastChange() != CTesseraEncryptedLinkList::kChangeStale)
                err << "tessera: the import stopped after " << plan->done << " of " << plan->cards.size()
                    << " cards; the cards before it are in the wallet, and some of the next may be too "
                       "once 'tessera repair' has mended it, if it asks for that\n";
            return Written(false, data, err);
        }
        out << plan->done << " cards added, ";
        return Summary(*plan, categoriesAdded, out);
    });
}
