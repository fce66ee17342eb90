#include "shell/Settings.h"

#include <wx/fontenum.h>
#include <wx/gdicmn.h>
#include <wx/settings.h>

#include <fstream>

namespace {

struct FontStyle {
    int points;
    int weight;
    bool underlined;
};

// The generator's choice in its file; the default when the file is missing or not valid.
GeneratorChoice ReadGenerator(const std::filesystem::path& file) {
    // A valid file is a few bytes: no more than that is read.
    char text[16];
    std::ifstream in(file, std::ios::binary);
    in.read(text, sizeof text);
    return GeneratorChoice::Parse({text, static_cast<size_t>(in.gcount())}).value_or(GeneratorChoice{});
}

constexpr FontStyle kFonts[4] = {{9, 500, false}, {10, 700, false}, {9, 700, false}, {10, 700, true}};

// "Tahoma" where it is installed, else the system's own sans-serif face.
wxString FaceName() {
    static const wxString face = wxFontEnumerator::IsValidFacename("Tahoma")
                                     ? wxString("Tahoma")
                                     : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName();
    return face;
}

wxFont MakeFont(const FontStyle& style, int dpi) {
    int height = CSettings::FontHeight(style.points, dpi);
    // wx takes the character height as a positive pixel size.
    wxFontInfo info(wxSize(0, -height));
    info.FaceName(FaceName()).Weight(style.weight).Underlined(style.underlined);
    return wxFont(info);
}

}  // namespace

CSettings::CSettings() {
    int dpi = wxGetDisplayPPI().y;
    if (dpi <= 0) dpi = 96;
    for (int i = 0; i < 4; ++i) fonts[i] = MakeFont(kFonts[i], dpi);
}

const wxFont& CSettings::Font(int number) const {
    return fonts[(number >= 1 && number <= 4 ? number : 1) - 1];
}

int CSettings::FontHeight(int points, int dpi) {
    long long product = static_cast<long long>(points) * dpi;
    long long rounded = product >= 0 ? (product + 36) / 72 : (product - 36) / 72;
    return -static_cast<int>(rounded);
}

std::filesystem::path CSettings::GeneratorFile(const std::filesystem::path& optionsFile) {
    return optionsFile.parent_path() / "tessera-generator";
}

void CSettings::Load(const std::filesystem::path& file) {
    ReadOptionsFile(file, record);
    generator = ReadGenerator(GeneratorFile(file));
}

void CSettings::Save(const std::filesystem::path& file) const {
    if (generator != ReadGenerator(GeneratorFile(file))) {
        std::ofstream(GeneratorFile(file), std::ios::binary | std::ios::trunc) << generator.Text();
    }
    HostOptionsRecord onDisk{};
    if (!ReadOptionsFile(file, onDisk)) return;
    if (onDisk[plugin::kIdleMinutesWord] == record[plugin::kIdleMinutesWord]) return;
    onDisk[plugin::kIdleMinutesWord] = record[plugin::kIdleMinutesWord];
    WriteOptionsFile(file, onDisk);
}
