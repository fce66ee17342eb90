#include "ui/rules/ListKinds.h"

#include <cstddef>
#include <iterator>

#include "ui/resources/Resource.h"

namespace {

constexpr ListKindTraits kTraits[] = {
    {IDS_TREE_CARDS, IDS_NEW_CARD_NAME, IDS_DELETE_CARD_CONFIRM, IDS_HOST_CAPTION, IDS_SAVE_CARD_PROMPT,
     IDS_SAVE_CARD_FAILED, true},
    {IDS_TREE_TEMPLATES, IDS_NEW_TEMPLATE_NAME, IDS_DELETE_TEMPLATE_CONFIRM, IDS_APP_CAPTION,
     IDS_SAVE_TEMPLATE_PROMPT, IDS_SAVE_TEMPLATE_FAILED, true},
    {IDS_TREE_CATEGORIES, IDS_NEW_CATEGORY_NAME, 0, IDS_APP_CAPTION, IDS_SAVE_CATEGORY_PROMPT,
     IDS_SAVE_CATEGORY_FAILED, true},
    {IDS_TREE_BACKUP, 0, IDS_DELETE_BACKUP_CONFIRM, IDS_APP_CAPTION, 0, 0, false},
    {IDS_TREE_ROOT, 0, 0, IDS_APP_CAPTION, 0, 0, false},
};

}  // namespace

const ListKindTraits& TraitsOf(ListKind kind) {
    const auto at = static_cast<std::size_t>(kind);
    return kTraits[at < std::size(kTraits) ? at : std::size(kTraits) - 1];
}
