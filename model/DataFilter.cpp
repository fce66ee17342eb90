// The card list's view of CData: the category and find filters, the partition and the arrangement.

#include <algorithm>

#include "model/Data.h"
#include "model/DataRows.h"

namespace {

// Latin-1 from U+00C0 on, folded: capitals to small letters, accented letters to their base letters.
constexpr std::u16string_view kLatin1Folds =
    u"aaaaaa\u00e6ceeeeiiii\u00f0nooooo\u00d7ouuuuy\u00fe\u00df"
    u"aaaaaa\u00e6ceeeeiiii\u00f0nooooo\u00f7ouuuuy\u00fey";

char16_t FoldForFind(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xFF) return kLatin1Folds[c - 0xC0];
    return c;
}

// Whether the folded needle occurs in the text, folded unit by unit; an empty needle occurs everywhere.
bool ContainsFolded(std::u16string_view text, std::u16string_view foldedNeedle) {
    if (foldedNeedle.empty()) return true;
    auto found = std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                             [](char16_t a, char16_t b) { return FoldForFind(a) == b; });
    return found != text.end();
}

bool RowMatches(const card_info_struct& row, int32_t categoryFilter, bool findActive,
                std::u16string_view foldedFind) {
    if (categoryFilter != kAllCategories && row.category != categoryFilter) return false;
    return !findActive || ContainsFolded(row.name, foldedFind) ||
           row.findable.View().find(foldedFind) != std::u16string_view::npos;
}

}  // namespace

std::u16string FoldedForFind(std::u16string_view text) {
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldForFind);
    return folded;
}

bool CData::MatchesFilter(int row, int32_t categoryFilter) const {
    if (row < 0 || row >= cardCount()) return false;
    return RowMatches(cards[row], categoryFilter, findActive, FoldedForFind(findText));
}

int CData::PartitionCards(int32_t categoryFilter) {
    const std::u16string find = FoldedForFind(findText);
    auto matches = [&](int k) { return RowMatches(cards[k], categoryFilter, findActive, find); };
    int i = 0, j = cardCount() - 1;
    if (j < 0) return 0;
    for (;;) {
        for (; matches(i); ++i) {
            if (i >= j) return i + 1;
        }
        for (; !matches(j); --j) {
            if (i >= j) return j;
        }
        SwapRows(i, j, cards);
        ++i;
        --j;
        if (i > j) return i;
    }
}

// Sorting after the partition in every case keeps an active find applied under "All cards" too; with
// no find the partition lets every row through without moving one.
int CData::ArrangeCards(int32_t categoryFilter, CardSortKey key, bool ascending) {
    int shown = PartitionCards(categoryFilter);
    SortCards(key, shown, cards, ascending);
    return shown;
}
