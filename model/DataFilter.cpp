// The card list's view of CData: the category and find filters, the partition and the arrangement.

#include <algorithm>

#include "model/Data.h"

namespace {

// The find match folds A-Z and the capitals of Latin-1 to small letters.
char16_t FoldCase(char16_t c) {
    bool capital = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    return capital ? static_cast<char16_t>(c + 0x20) : c;
}

std::u16string Folded(std::u16string_view text) {
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

// Whether the folded needle occurs in the text, folded unit by unit; an empty needle occurs everywhere.
bool ContainsFolded(std::u16string_view text, std::u16string_view foldedNeedle) {
    if (foldedNeedle.empty()) return true;
    auto found = std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                             [](char16_t a, char16_t b) { return FoldCase(a) == b; });
    return found != text.end();
}

bool RowMatches(const card_info_struct& row, int32_t categoryFilter, bool findActive,
                std::u16string_view foldedFind) {
    if (categoryFilter != kAllCategories && row.category != categoryFilter) return false;
    return !findActive || ContainsFolded(row.name, foldedFind);
}

}  // namespace

bool CData::MatchesFilter(int row, int32_t categoryFilter) const {
    if (row < 0 || row >= cardCount()) return false;
    return RowMatches(cards[row], categoryFilter, findActive != 0, Folded(findText));
}

int CData::PartitionCards(int32_t categoryFilter) {
    const std::u16string find = Folded(findText);
    auto matches = [&](int k) { return RowMatches(cards[k], categoryFilter, findActive != 0, find); };
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
