#pragma once
// The card icon library: the small (16 x 16) and large (32 x 32) card icons, in groups, and the small
// images of the backup list. An icon index counts through the groups in order; the small and the
// large list hold the same icon at the same index.
#include <wx/imaglist.h>

#include <vector>

class CMyIconList {
public:
    // Builds the three lists from the image strips; false (and empty lists) when a strip is missing
    // or its size does not fit.
    bool Create();

    // The lists stay owned by this object: controls get them with SetImageList, never AssignImageList.
    wxImageList* Small() { return &smallIcons; }
    wxImageList* Large() { return &largeIcons; }
    wxImageList* Backup() { return &backupIcons; }

    int GroupCount() const { return static_cast<int>(groupSizes.size()); }
    // The number of icons in group g; 0 for a group that does not exist.
    int GroupSize(int g) const;
    // The index of group g's first icon; IconCount() for a group past the last.
    int GroupFirstIcon(int g) const;
    int IconCount() const;

    // The string id of group g's header text; 0 for a group that does not exist.
    static unsigned GroupTitleId(int g);

private:
    bool AddGroups();
    bool AddBackupImages();
    void Clear();

    wxImageList smallIcons;
    wxImageList largeIcons;
    wxImageList backupIcons;
    std::vector<int> groupSizes;
};
