#include "ui/resources/ArtLibrary.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "ui/resources/ArtPngs.h"
#include "ui/resources/Resource.h"

namespace {

struct ArtEntry {
    unsigned id;
    const char* name;  // of its PNG (ArtPngs.h)
};

// Sorted by id.
constexpr ArtEntry kBitmaps[] = {
    {IDB_PROGRESS_TRACK, "progress_track"},
    {IDB_PROGRESS_MARKER, "progress_marker"},
    {IDB_TREE_IMAGES, "tree_images"},
    {IDB_LOGIN_ICONS, "login_icons"},
    {IDB_TOOLBAR, "toolbar"},
    {IDB_WALLET_PICTURE, "wallet_picture"},
    {IDB_LARGE_CARDS, "large_cards"},
    {IDB_LARGE_CATEGORIES, "large_categories"},
    {IDB_LARGE_WORK, "large_work"},
    {IDB_LARGE_COMPUTER, "large_computer"},
    {IDB_LARGE_PERSONAL, "large_personal"},
    {IDB_LARGE_OTHER, "large_other"},
    {IDB_LARGE_TEMPLATES, "large_templates"},
    {IDB_SMALL_CARDS, "small_cards"},
    {IDB_SMALL_CATEGORIES, "small_categories"},
    {IDB_SMALL_COMPUTER, "small_computer"},
    {IDB_SMALL_OTHER, "small_other"},
    {IDB_SMALL_PERSONAL, "small_personal"},
    {IDB_SMALL_TEMPLATES, "small_templates"},
    {IDB_SMALL_WORK, "small_work"},
    {IDB_BACKUP_FILE, "backup_file"},
    {IDB_BACKUP_FOLDER, "backup_folder"},
    {IDB_LOGIN_PICTURE, "login_picture"},
};

// Sorted by id.
constexpr ArtEntry kIcons[] = {
    {IDI_TREE_ROOT, "tree_root"},
    {IDI_PLUGIN, "plugin"},
};

template <size_t N>
const char* FindName(const ArtEntry (&table)[N], unsigned id) {
    auto it = std::lower_bound(std::begin(table), std::end(table), id,
                               [](const ArtEntry& e, unsigned key) { return e.id < key; });
    return it != std::end(table) && it->id == id ? it->name : nullptr;
}

// The image of the PNG with that name (with its alpha channel); an invalid image when there is none.
wxImage LoadPng(const char* name) {
    const ArtPng* end = kArtPngs + kArtPngCount;
    const ArtPng* png =
        name ? std::find_if(kArtPngs, end, [name](const ArtPng& p) { return std::strcmp(p.name, name) == 0; })
             : end;
    if (png == end) return wxImage();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(png->data, png->size);
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}

}  // namespace

wxBitmap LoadBitmapRes(unsigned id) {
    wxImage image = LoadPng(FindName(kBitmaps, id));
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxIcon LoadIconRes(unsigned id) {
    wxImage image = LoadPng(FindName(kIcons, id));
    wxIcon icon;
    if (image.IsOk()) icon.CopyFromBitmap(wxBitmap(image));
    return icon;
}
