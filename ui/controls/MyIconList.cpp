#include "ui/controls/MyIconList.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"

namespace {

constexpr int kSmallSize = 16;
constexpr int kLargeSize = 32;

struct Group {
    unsigned smallStrip;
    unsigned largeStrip;
    unsigned title;
};

constexpr std::array<Group, 7> kGroups = {{
    {IDB_SMALL_CARDS, IDB_LARGE_CARDS, IDS_GROUP_CARDS},
    {IDB_SMALL_COMPUTER, IDB_LARGE_COMPUTER, IDS_GROUP_COMPUTER},
    {IDB_SMALL_PERSONAL, IDB_LARGE_PERSONAL, IDS_GROUP_PERSONAL},
    {IDB_SMALL_WORK, IDB_LARGE_WORK, IDS_GROUP_WORK},
    {IDB_SMALL_OTHER, IDB_LARGE_OTHER, IDS_GROUP_OTHER},
    {IDB_SMALL_CATEGORIES, IDB_LARGE_CATEGORIES, IDS_GROUP_CATEGORIES},
    {IDB_SMALL_TEMPLATES, IDB_LARGE_TEMPLATES, IDS_GROUP_TEMPLATES},
}};

constexpr std::array<unsigned, 2> kBackupImages = {IDB_BACKUP_FILE, IDB_BACKUP_FOLDER};

// Appends the square cells of a strip cellSize pixels high to list; the number of cells, 0 when the
// strip is missing or not a whole number of cells.
int AddStrip(wxImageList& list, const wxBitmap& strip, int cellSize) {
    if (!strip.IsOk() || strip.GetHeight() != cellSize || strip.GetWidth() % cellSize != 0) return 0;
    const int cells = strip.GetWidth() / cellSize;
    for (int i = 0; i < cells; ++i) {
        if (list.Add(strip.GetSubBitmap(wxRect(i * cellSize, 0, cellSize, cellSize))) < 0) return 0;
    }
    return cells;
}

}  // namespace

bool CMyIconList::Create() {
    Clear();
    smallIcons.Create(kSmallSize, kSmallSize, true);
    largeIcons.Create(kLargeSize, kLargeSize, true);
    backupIcons.Create(kSmallSize, kSmallSize, true);
    if (!AddGroups() || !AddBackupImages()) {
        Clear();
        return false;
    }
    return true;
}

bool CMyIconList::AddGroups() {
    for (const Group& group : kGroups) {
        const int cells = AddStrip(largeIcons, LoadBitmapRes(group.largeStrip), kLargeSize);
        if (cells == 0 || AddStrip(smallIcons, LoadBitmapRes(group.smallStrip), kSmallSize) != cells) {
            return false;
        }
        groupSizes.push_back(cells);
    }
    return true;
}

bool CMyIconList::AddBackupImages() {
    for (unsigned id : kBackupImages) {
        if (AddStrip(backupIcons, LoadBitmapRes(id), kSmallSize) == 0) return false;
    }
    return true;
}

void CMyIconList::Clear() {
    smallIcons.RemoveAll();
    largeIcons.RemoveAll();
    backupIcons.RemoveAll();
    groupSizes.clear();
}

int CMyIconList::GroupSize(int g) const {
    return g >= 0 && g < GroupCount() ? groupSizes[g] : 0;
}

int CMyIconList::GroupFirstIcon(int g) const {
    const int end = std::clamp(g, 0, GroupCount());
    return std::accumulate(groupSizes.begin(), groupSizes.begin() + end, 0);
}

int CMyIconList::IconCount() const {
    return GroupFirstIcon(GroupCount());
}

unsigned CMyIconList::GroupTitleId(int g) {
    return g >= 0 && g < static_cast<int>(kGroups.size()) ? kGroups[g].title : 0;
}
