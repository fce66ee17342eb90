#include "model/CardImport.h"

#include <algorithm>
#include <fstream>
#include <new>

#include "model/CsvCards.h"
#include "model/Data.h"
#include "model/WalletJson.h"

namespace {

// Far above any wallet's export; a bigger file is refused before it is read.
constexpr std::streamoff kMaxImportBytes = 64 << 20;

// Cards saved together: one write and one header for each batch, while a cut still loses at most one
// batch's worth of the summary (the cards of a cut batch may be in the wallet once it is repaired).
constexpr size_t kImportBatch = 500;

bool ReadWhole(const std::filesystem::path& path, SecureBytes& bytes, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (size > kMaxImportBytes) {
        error = "larger than 64 MiB";
        return false;
    }
    if (size >= 0) {
        bytes.resize(static_cast<size_t>(size));
        file.seekg(0);
    }
    if (size < 0 || !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = "it cannot be read";
        return false;
    }
    return true;
}

const category_struct* CategoryNamed(const CData& data, std::u16string_view name) {
    auto it = std::find_if(data.categories.begin(), data.categories.end(),
                           [name](const category_struct& c) { return c.name == name; });
    return it == data.categories.end() ? nullptr : &*it;
}

// Card i of the plan with the category it goes to.
CTesseraItem& Prepared(const CData& data, ImportPlan& plan, size_t i) {
    const std::u16string& name = plan.cards[i].category;
    const category_struct* category = name.empty() ? nullptr : CategoryNamed(data, name);
    CTesseraItem& card = plan.Card(i);
    card.categoryId = static_cast<uint32_t>(plan.category.value_or(category ? category->id : 0));
    return card;
}

uint32_t IconFor(const ImportPlan& plan, std::u16string_view name) {
    for (const auto& [category, icon] : plan.categoryIcons)
        if (category == name) return icon;
    return 0;
}

}  // namespace

bool PlanImportFile(CData& data, const std::filesystem::path& file, bool json, uint32_t templateId,
                    ImportPlan& plan, std::string& error) {
    try {
        SecureBytes bytes;
        if (!ReadWhole(file, bytes, error)) return false;
        std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (json) return JsonImportPlan(text, plan, error);
        plan = CsvImportPlan(data, text, templateId);
        return true;
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to read it";
        return false;
    }
}

CTesseraItem& ImportPlan::Card(size_t i) {
    if (!cards[i].card) cards[i].card = make(i);
    return *cards[i].card;
}

std::vector<std::u16string> MissingCategories(const CData& data, const ImportPlan& plan) {
    std::vector<std::u16string> missing;
    if (plan.category) return missing;
    for (size_t i = plan.done; i < plan.cards.size(); ++i) {
        const std::u16string& name = plan.cards[i].category;
        if (!name.empty() && !CategoryNamed(data, name) &&
            std::find(missing.begin(), missing.end(), name) == missing.end())
            missing.push_back(name);
    }
    return missing;
}

ImportResult ApplyImport(CData& data, ImportPlan& plan, const std::function<void(size_t)>& progress) {
    ImportResult result;
    for (const std::u16string& name : MissingCategories(data, plan)) {
        int32_t id = data.TakeCategoryId();
        if (id == 0 || !data.AddCategory(name, PackCategory(id, IconFor(plan, name)))) return result;
        ++result.categoriesAdded;
    }
    std::vector<NewRecord> batch;
    while (plan.done < plan.cards.size()) {
        const size_t end = std::min(plan.cards.size(), plan.done + kImportBatch);
        batch.clear();
        uint32_t id = 0;
        for (size_t i = plan.done; i < end && (id = data.TakeCardId()) != 0; ++i)
            batch.push_back({&Prepared(data, plan, i), id});
        if (batch.empty() || !data.AddCards(batch)) return result;
        for (size_t n = 0; n < batch.size(); ++n) plan.cards[plan.done++].card.reset();  // pages go back
        result.added += batch.size();
        if (progress) progress(plan.done);
    }
    result.complete = true;
    return result;
}
