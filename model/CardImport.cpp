#include "model/CardImport.h"

#include <algorithm>

#include "model/Data.h"

namespace {

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
        imported.card->categoryId =
            static_cast<uint32_t>(plan.category.value_or(category ? category->id : 0));
        uint32_t id = data.TakeCardId();
        if (id == 0 || !data.AddCard(*imported.card, id)) return result;
        ++result.added;
        if (progress) progress(plan.done + 1);
    }
    result.complete = true;
    return result;
}
