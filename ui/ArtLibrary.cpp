#include "ui/ArtLibrary.h"

#include <algorithm>
#include <iterator>

#include "ui/Resource.h"

#include "ui/art/backup_file.xpm"
#include "ui/art/backup_folder.xpm"
#include "ui/art/large_cards.xpm"
#include "ui/art/large_categories.xpm"
#include "ui/art/large_computer.xpm"
#include "ui/art/large_other.xpm"
#include "ui/art/large_personal.xpm"
#include "ui/art/large_templates.xpm"
#include "ui/art/large_work.xpm"
#include "ui/art/login_icons.xpm"
#include "ui/art/login_picture.xpm"
#include "ui/art/plugin.xpm"
#include "ui/art/progress_marker.xpm"
#include "ui/art/progress_track.xpm"
#include "ui/art/small_cards.xpm"
#include "ui/art/small_categories.xpm"
#include "ui/art/small_computer.xpm"
#include "ui/art/small_other.xpm"
#include "ui/art/small_personal.xpm"
#include "ui/art/small_templates.xpm"
#include "ui/art/small_work.xpm"
#include "ui/art/toolbar.xpm"
#include "ui/art/tree_images.xpm"
#include "ui/art/tree_root.xpm"
#include "ui/art/wallet_picture.xpm"

namespace {

struct ArtEntry {
    unsigned id;
    const char* const* xpm;
};

// Sorted by id. The images are drawn by scripts/make-art.py.
constexpr ArtEntry kBitmaps[] = {
    {IDB_PROGRESS_TRACK, progress_track_xpm},
    {IDB_PROGRESS_MARKER, progress_marker_xpm},
    {IDB_TREE_IMAGES, tree_images_xpm},
    {IDB_LOGIN_ICONS, login_icons_xpm},
    {IDB_TOOLBAR, toolbar_xpm},
    {IDB_WALLET_PICTURE, wallet_picture_xpm},
    {IDB_LARGE_CARDS, large_cards_xpm},
    {IDB_LARGE_CATEGORIES, large_categories_xpm},
    {IDB_LARGE_WORK, large_work_xpm},
    {IDB_LARGE_COMPUTER, large_computer_xpm},
    {IDB_LARGE_PERSONAL, large_personal_xpm},
    {IDB_LARGE_OTHER, large_other_xpm},
    {IDB_LARGE_TEMPLATES, large_templates_xpm},
    {IDB_SMALL_CARDS, small_cards_xpm},
    {IDB_SMALL_CATEGORIES, small_categories_xpm},
    {IDB_SMALL_COMPUTER, small_computer_xpm},
    {IDB_SMALL_OTHER, small_other_xpm},
    {IDB_SMALL_PERSONAL, small_personal_xpm},
    {IDB_SMALL_TEMPLATES, small_templates_xpm},
    {IDB_SMALL_WORK, small_work_xpm},
    {IDB_BACKUP_FILE, backup_file_xpm},
    {IDB_BACKUP_FOLDER, backup_folder_xpm},
    {IDB_LOGIN_PICTURE, login_picture_xpm},
};

// Sorted by id.
constexpr ArtEntry kIcons[] = {
    {IDI_TREE_ROOT, tree_root_xpm},
    {IDI_PLUGIN, plugin_xpm},
};

template <size_t N>
const char* const* FindXpm(const ArtEntry (&table)[N], unsigned id) {
    auto it = std::lower_bound(std::begin(table), std::end(table), id,
                               [](const ArtEntry& e, unsigned key) { return e.id < key; });
    return it != std::end(table) && it->id == id ? it->xpm : nullptr;
}

}  // namespace

wxBitmap LoadBitmapRes(unsigned id) {
    const char* const* xpm = FindXpm(kBitmaps, id);
    return xpm ? wxBitmap(xpm) : wxBitmap();
}

wxIcon LoadIconRes(unsigned id) {
    const char* const* xpm = FindXpm(kIcons, id);
    return xpm ? wxIcon(xpm) : wxIcon();
}
