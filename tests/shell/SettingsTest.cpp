#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/OptionsRecordBytes.h"
#include "support/TestSupport.h"

namespace {

// A write leaves a fresh modification time; the file is dated back so that one shows.
void DateBack(const std::filesystem::path& file) {
    std::filesystem::last_write_time(file,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
}

bool WrittenSinceDatedBack(const std::filesystem::path& file) {
    return std::filesystem::last_write_time(file) >
           std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
}

TEST(Settings, FontHeightsFollowTheScreenResolution) {
    EXPECT_EQ(CSettings::FontHeight(9, 96), -12);
    EXPECT_EQ(CSettings::FontHeight(10, 96), -13);
    EXPECT_EQ(CSettings::FontHeight(9, 120), -15);
    EXPECT_EQ(CSettings::FontHeight(10, 120), -17);
}

TEST(Settings, AShortFileKeepsTheDefaultAndIsNotRewritten) {
    TempDir dir;
    auto file = dir / "options.dat";
    WriteBytes(file, std::vector<uint8_t>(31, 0));
    CSettings settings;
    settings.Load(file);
    EXPECT_EQ(settings.IdleMinutes(), 5);
    settings.Save(file);
    EXPECT_EQ(std::filesystem::file_size(file), 31u);
}

TEST(Settings, OnlyChangedMinutesAndGeneratorChoicesAreWrittenAndTheHostsWordsSurvive) {
    TempDir dir;
    auto file = dir / "options.dat", kept = CSettings::GeneratorFile(file);
    WriteBytes(file, OptionsRecordBytes(10, 0x5A));
    std::ofstream(kept) << "99 15\n";  // out of range: the default
    CSettings settings;
    settings.Load(file);
    EXPECT_TRUE(settings.IdleMinutes() == 10 && settings.generator == GeneratorChoice{});
    DateBack(file), DateBack(kept);
    settings.Save(file);
    EXPECT_FALSE(WrittenSinceDatedBack(file));
    EXPECT_FALSE(WrittenSinceDatedBack(kept));
    settings.SetIdleMinutes(0);
    settings.generator = {6, 0b0011};
    settings.Save(file);
    EXPECT_EQ(ReadBytes(file), OptionsRecordBytes(0, 0x5A));
    settings.Load(file);
    EXPECT_EQ(settings.generator, (GeneratorChoice{6, 0b0011}));
}

TEST(Settings, NothingIsWrittenWhenTheFileCannotBeRead) {
    TempDir dir;
    CSettings settings;
    settings.SetIdleMinutes(3);
    settings.Save(dir / "absent" / "options.dat");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
}

}  // namespace
