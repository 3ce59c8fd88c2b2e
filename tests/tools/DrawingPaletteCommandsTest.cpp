#include <gtest/gtest.h>

#include "image/Palette.h"
#include "image/PaletteFile.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "tools/DrawingPaletteCommands.h"
#include "ui/AppSettings.h"

namespace pixmond {
namespace {

// count bytes counting up from first: entry i of a 4-byte palette is first + 4i ... first + 4i + 3.
std::vector<std::uint8_t> Counting(size_t count, int first) {
    std::vector<std::uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = std::uint8_t(first + int(i));
    return bytes;
}

class DrawingPaletteCommandsTest : public ::testing::Test {
protected:
    DrawingPaletteCommandsTest() { settings_.SetPalFolder(Folder()); }
    std::string Folder() const { return dir_.Path().string() + "/"; }
    std::string File(const char* name) const { return Folder() + name; }
    // The entry's four bytes as they lie in the palette.
    std::vector<std::uint8_t> Entry(int index) const {
        return {palette_.begin() + index * 4, palette_.begin() + index * 4 + 4};
    }

    test::TempDir dir_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CBmpDib::ColourTable palette_ = DefaultColourTable();
    CBmpDib picture_;
    bool available_ = true;
    int redraws_ = 0;
    DrawingPaletteCommands commands_{{[this] { return available_; }, [this] { return palette_; },
                                      [this](const CBmpDib::ColourTable& p) { palette_ = p; },
                                      [this] { return &picture_; }, [this] { ++redraws_; }},
                                     pickers_, settings_, services_.messages};
};

TEST_F(DrawingPaletteCommandsTest, BinaryLoadTakesTheWholeEntriesTheFileHolds) {
    std::filesystem::create_directories(dir_ / "pals");
    const std::string full = (dir_ / "pals" / "full.pal").string();
    test::WriteBytes(full, Counting(1024, 0));
    pickers_.QueueFile(full);
    ASSERT_TRUE(commands_.LoadBinary());
    const auto& asked = pickers_.requests.back();
    EXPECT_EQ(asked.kind, "open");
    EXPECT_EQ(asked.initial, Folder() + "*.pal");
    EXPECT_EQ(asked.title, "Select Game pal file");
    EXPECT_EQ(asked.filter, "Palette binary files (*.PAL)|*.pal|");
    EXPECT_EQ(asked.defaultExtension, ".pal");
    EXPECT_EQ(settings_.PalFolder(), (dir_ / "pals").string() + "/");
    EXPECT_EQ(std::vector<std::uint8_t>(palette_.begin(), palette_.end()), Counting(1024, 0));
    EXPECT_EQ(redraws_, 1);

    // 768 bytes are entries 0-191, four bytes each; a torn entry at the end is left alone.
    test::WriteBytes(dir_ / "short.pal", Counting(768, 100));
    test::WriteBytes(dir_ / "torn.pal", Counting(6, 50));
    pickers_.QueueFile(File("short.pal"));
    ASSERT_TRUE(commands_.LoadBinary());
    EXPECT_EQ(Entry(0), Counting(4, 100));
    EXPECT_EQ(Entry(191), Counting(4, 100 + 191 * 4));
    EXPECT_EQ(Entry(192), Counting(4, 192 * 4));
    EXPECT_EQ(Entry(255), Counting(4, 255 * 4));
    pickers_.QueueFile(File("torn.pal"));
    ASSERT_TRUE(commands_.LoadBinary());
    EXPECT_EQ(Entry(0), Counting(4, 50));
    EXPECT_EQ(Entry(1), Counting(4, 100 + 4));
    EXPECT_EQ(settings_.PalFolder(), Folder());

    // A missing file is said and changes nothing; Cancel changes nothing at all.
    const auto before = palette_;
    pickers_.QueueFile(File("gone.pal"));
    EXPECT_FALSE(commands_.LoadBinary());
    EXPECT_EQ(services_.messages.Errors(), std::vector<std::string>{"[" + File("gone.pal") + "] Not found"});
    settings_.SetPalFolder(File("elsewhere/"));
    pickers_.QueueFile("");
    EXPECT_FALSE(commands_.LoadBinary());
    EXPECT_FALSE(commands_.LoadText());
    EXPECT_EQ(palette_, before);
    EXPECT_EQ(settings_.PalFolder(), File("elsewhere/"));
    EXPECT_EQ(redraws_, 3);
}

TEST_F(DrawingPaletteCommandsTest, SavedPalettesReadBackInBothForms) {
    palette_ = ColourTableOf(DefaultPalette());
    for (int i = 0; i < 256; ++i) palette_[size_t(i) * 4] = std::uint8_t(255 - i);
    const auto saved = palette_;
    pickers_.QueueFile(File("GAME.pal"));
    ASSERT_TRUE(commands_.SaveBinary());
    EXPECT_EQ(pickers_.requests.back().kind, "save");
    EXPECT_EQ(pickers_.requests.back().initial, Folder() + "GAME.pal");
    EXPECT_EQ(test::ReadBytes(File("GAME.pal")), std::vector<std::uint8_t>(saved.begin(), saved.end()));
    pickers_.QueueFile(File("PSP_mine.pal"));
    ASSERT_TRUE(commands_.SaveText());
    const auto& asked = pickers_.requests.back();
    EXPECT_EQ(asked.initial, Folder() + "PSP_*.pal");
    EXPECT_EQ(asked.title, "Select PSP pal file");
    EXPECT_EQ(asked.filter, "PSP Palette text File (*.pal)|*.pal|");
    EXPECT_EQ(asked.defaultExtension, ".pal");
    const std::string head = "JASP-PAL\nOrvel Shp Tool\n256\n0 0 255\n240 240 254\n";
    EXPECT_EQ(test::ReadText(File("PSP_mine.pal")).substr(0, head.size()), head);

    ASSERT_TRUE(commands_.Reset());
    EXPECT_EQ(palette_, DefaultColourTable());
    pickers_.QueueFile(File("PSP_mine.pal"));
    ASSERT_TRUE(commands_.LoadText());
    EXPECT_EQ(pickers_.requests.back().kind, "open");
    EXPECT_EQ(palette_, saved);
    EXPECT_EQ(redraws_, 2);

    // A file that cannot be written is said with the path, in the binary form's own words.
    pickers_.QueueFile(File("no/such/folder/GAME.pal"));
    EXPECT_FALSE(commands_.SaveBinary());
    EXPECT_EQ(services_.messages.Errors().back(), "[" + File("no/such/folder/GAME.pal") + "] Not found");
    EXPECT_EQ(settings_.PalFolder(), File("no/such/folder/"));
}

TEST_F(DrawingPaletteCommandsTest, ConvertComparisonAndACommandThatIsNotAvailable) {
    // The picture's index 5 shows the colour of default index 1 under the drawing palette.
    picture_.Create(2, 1, 8, false);
    ASSERT_TRUE(picture_.Allocate());
    picture_.Bits()[0] = 5;
    picture_.Bits()[1] = 159;
    CBmpDib::ColourTable colours = DefaultColourTable();
    std::copy_n(DefaultColourTable().begin() + 4, 4, colours.begin() + 5 * 4);
    picture_.SetColourTable(colours);
    palette_ = colours;
    ASSERT_TRUE(commands_.ConvertToDefault());
    EXPECT_EQ(picture_.Bits()[0], 1);
    EXPECT_EQ(picture_.Bits()[1], 159);
    // The stored indices, decoded again, show the converted picture's colours: index 5 now draws default colour 1.
    const CBmpDib::ColourTable& standard = DefaultColourTable();
    for (const auto& [stored, converted] : {std::pair{5, 1}, std::pair{159, 159}})
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(palette_[size_t(stored * 4 + c)], standard[size_t(converted * 4 + c)]) << stored;
    for (int i = 0; i < 255; ++i) {
        if (i == 5) continue;
        // Every other entry already was a default colour: it keeps its look (255, which the game reserves, is
        // never a remap's target, so it takes the nearest other colour).
        for (int c = 0; c < 3; ++c) EXPECT_EQ(palette_[size_t(i * 4 + c)], colours[size_t(i * 4 + c)]) << i;
    }
    EXPECT_EQ(redraws_, 1);

    PaletteComparison palettes;
    palette_[0] = 77;
    ASSERT_TRUE(commands_.Comparison(palettes));
    EXPECT_EQ(palettes.first.name, "Current palette");
    EXPECT_EQ(palettes.first.table, palette_);
    EXPECT_TRUE(palettes.second.name.empty());

    // Without an SHP on show nothing asks, changes or draws.
    available_ = false;
    const auto before = palette_;
    EXPECT_FALSE(commands_.LoadBinary() || commands_.SaveBinary() || commands_.LoadText() || commands_.SaveText() ||
                 commands_.Reset() || commands_.ConvertToDefault() || commands_.Comparison(palettes));
    EXPECT_EQ(palette_, before);
    EXPECT_EQ(pickers_.requests.size(), 0u);
    EXPECT_EQ(redraws_, 1);
}

}  // namespace
}  // namespace pixmond
