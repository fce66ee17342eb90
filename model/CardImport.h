#pragma once
// Cards read from another program's file, and their addition to the wallet. Reading (CsvCards,
// WalletJson) makes a plan without touching the wallet; ApplyImport then creates the missing categories
// and adds the cards in batches, each in one safe save, so that a cut leaves the cards added so far and,
// once the wallet is repaired, perhaps some of the batch it cut.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/CsvTable.h"
#include "store/TesseraItem.h"

class CData;

struct ImportedCard {
    std::unique_ptr<CTesseraItem> card;  // null until made (ImportPlan::Card); categoryId set when applied
    std::u16string category;             // empty: none; at most 63 units (FitFieldName)
};

struct ImportPlan {
    std::vector<ImportedCard> cards;
    // Makes card i where the plan holds none (a CSV plan keeps its rows, not thousands of records).
    std::function<std::unique_ptr<CTesseraItem>(size_t)> make;
    // The icon a category takes when the import creates it, by name (our JSON export names them).
    std::vector<std::pair<std::u16string, uint32_t>> categoryIcons;
    std::vector<CsvProblem> skipped;  // lines (or cards, in JSON) that could not be read
    const char* problemUnit = "line";
    // Set: every card goes to this category id, whatever the file says.
    std::optional<int32_t> category;
    size_t done = 0;  // cards already added: applying again goes on from here

    // Card i, made on first use.
    CTesseraItem& Card(size_t i);
};

// Reads the file, refused above 64 MiB, and plans its import: our JSON when `json`, else CSV whose cards
// are made from the template (0xFFFFFFFF: none). False with `error` set when nothing can be planned.
bool PlanImportFile(CData& data, const std::filesystem::path& file, bool json, uint32_t templateId,
                    ImportPlan& plan, std::string& error);

// The category names the plan needs that the wallet lacks, in the order of first use.
std::vector<std::u16string> MissingCategories(const CData& data, const ImportPlan& plan);

struct ImportResult {
    size_t added = 0;
    size_t categoriesAdded = 0;
    bool complete = false;  // false: a write failed (CData::LastChange says why); plan.done marks where
};

// Creates the missing categories, then adds the cards from plan.done on, in batches. `progress` is told
// the number of cards added after each batch.
ImportResult ApplyImport(CData& data, ImportPlan& plan, const std::function<void(size_t)>& progress = {});
