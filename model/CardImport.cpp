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
    for (; plan.done < plan.cards.size(); ++plan.done) {
        ImportedCard& imported = plan.cards[plan.done];
        const category_struct* category =
            imported.category.empty() ? nullptr : CategoryNamed(data, imported.category);
        CTesseraItem& card = plan.Card(plan.done);
        card.categoryId = static_cast<uint32_t>(plan.category.value_or(category ? category->id : 0));
        uint32_t id = data.TakeCardId();
        if (id == 0 || !data.AddCard(card, id)) return result;
        imported.card.reset();  // its pages go back at once
        ++result.added;
        if (progress) progress(plan.done + 1);
    }
    result.complete = true;
    return result;
}
