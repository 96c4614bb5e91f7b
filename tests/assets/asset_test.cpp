// Checks the committed asset tree against what the game relies on. Works
// on the repository's files read-only.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/assets.h"
#include "menu/menu_layouts.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::pixel_at;
using testsupport::read_file;

fs::path in_tree(const char* relative)
{
    return testsupport::source_dir() / relative;
}

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Picture = std::unique_ptr<SDL_Surface, SurfaceFree>;

Picture load(const char* relative)
{
    return Picture(SDL_LoadBMP(in_tree(relative).string().c_str()));
}

std::uint32_t le32(const std::string& bytes, size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint8_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
}

std::uint16_t le16(const std::string& bytes, size_t at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint64_t le64(const std::string& bytes, size_t at)
{
    return le32(bytes, at) | static_cast<std::uint64_t>(le32(bytes, at + 4)) << 32;
}

std::uint32_t be32(const std::string& bytes, size_t at)
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) << 24 |
           static_cast<std::uint8_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint8_t>(bytes[at + 2]) << 8 | static_cast<std::uint8_t>(bytes[at + 3]);
}

bool is_yellow(SDL_Color c)
{
    return c.r == 255 && c.g == 255 && c.b == 0;
}

// Every picture the game blits with the yellow key: the menu cursor pair
// (visor 0) and the five visor pairs.
std::vector<const char*> keyed_pictures()
{
    std::vector<const char*> out;
    for (const assets::VisorAssets& row : assets::kVisors) {
        out.push_back(row.normal);
        out.push_back(row.over);
    }
    return out;
}

TEST(AssetTree, EveryFileTheGameOpensIsThere)
{
    std::vector<const char*> paths(std::begin(assets::kRequiredPictures),
                                   std::end(assets::kRequiredPictures));
    paths.insert(paths.end(), std::begin(assets::kRequiredFonts), std::end(assets::kRequiredFonts));
    // The game can do without the page pictures, but it ships them.
    paths.insert(paths.end(), std::begin(assets::kOptionalPictures),
                 std::end(assets::kOptionalPictures));
    for (const char* p : {assets::kWindowIcon, assets::kMenuMusic, assets::kHitShot,
                          assets::kMissShot, assets::kConfigFile, assets::kSaveFile}) {
        paths.push_back(p);
    }
    for (const assets::VisorAssets& row : assets::kVisors) {
        paths.insert(paths.end(), {row.normal, row.over, row.hit_sound});
    }
    for (const char* p : paths) {
        const fs::path file = in_tree(p);
        ASSERT_TRUE(fs::is_regular_file(file)) << p;
        EXPECT_GT(fs::file_size(file), 0u) << p;
    }
}

TEST(AssetPictures, AreUncompressed24BitBmpsOfTheExpectedSize)
{
    struct Expected {
        const char* path;
        int width;
        int height;
    };
    std::vector<Expected> pictures = {
        {assets::kIntroPresents, 800, 600}, {assets::kIntroName, 800, 600},
        {assets::kHowToPlayPage, 800, 600}, {assets::kAboutPage, 800, 600},
        {assets::kWindowIcon, 32, 32},
    };
    for (const char* p : keyed_pictures()) {
        pictures.push_back({p, 0, 0});  // square, 32 to 64 pixels
    }
    for (const Expected& e : pictures) {
        SCOPED_TRACE(e.path);
        // Classic SDL 1.2 cannot read RLE, and keys 32-bit pictures
        // differently from sdl12-compat: only BI_RGB at 24 bits will do.
        const std::string bytes = read_file(in_tree(e.path));
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(le16(bytes, 28), 24);
        EXPECT_EQ(le32(bytes, 30), 0u);

        Picture picture = load(e.path);
        ASSERT_TRUE(picture) << SDL_GetError();
        EXPECT_EQ(picture->format->BitsPerPixel, 24);
        if (e.width) {
            EXPECT_EQ(picture->w, e.width);
            EXPECT_EQ(picture->h, e.height);
        } else {
            EXPECT_EQ(picture->w, picture->h);
            EXPECT_GE(picture->w, 32);
            EXPECT_LE(picture->w, 64);
        }
    }
}

TEST(AssetPictures, PagesLeaveTheBandOfTheirReturnLabelBlack)
{
    for (const char* page : {assets::kHowToPlayPage, assets::kAboutPage}) {
        Picture picture = load(page);
        ASSERT_TRUE(picture) << page;
        int drawn_above = 0;
        for (int y = 0; y < picture->h; ++y) {
            for (int x = 0; x < picture->w; x += (y < 510 ? 7 : 1)) {
                const SDL_Color c = pixel_at(picture.get(), x, y);
                const bool black = c.r == 0 && c.g == 0 && c.b == 0;
                if (y >= 510) {
                    ASSERT_TRUE(black) << page << " at " << x << "," << y;
                } else if (c.r + c.g + c.b > 300) {
                    ++drawn_above;
                }
            }
        }
        // Text is there above the band, not a blank page.
        EXPECT_GT(drawn_above, 200) << page;
    }
}

TEST(AssetPictures, IntroCardsAndIconAreDrawnAndDistinct)
{
    Picture presents = load(assets::kIntroPresents);
    Picture name = load(assets::kIntroName);
    Picture icon = load(assets::kWindowIcon);
    ASSERT_TRUE(presents && name && icon);
    int differing = 0;
    int lit = 0;
    for (int y = 0; y < 600; y += 5) {
        for (int x = 0; x < 800; x += 5) {
            const SDL_Color a = pixel_at(presents.get(), x, y);
            const SDL_Color b = pixel_at(name.get(), x, y);
            differing += !testsupport::same_colour(a, b, 8);
            lit += a.r + a.g + a.b > 200;
        }
    }
    // The cross-fade needs two different pictures, and neither is blank.
    EXPECT_GT(differing, 2000);
    EXPECT_GT(lit, 50);
    const SDL_Color corner = pixel_at(icon.get(), 0, 0);
    EXPECT_FALSE(testsupport::same_colour(pixel_at(icon.get(), 16, 10), corner, 30));
}

TEST(AssetPictures, IntroTitleCardLeavesTheMiddleToTheRedTitle)
{
    // The intro fades the red title in over the middle of this card: a
    // title drawn into the card itself would show twice.
    Picture name = load(assets::kIntroName);
    ASSERT_TRUE(name);
    int bright = 0;
    for (int y = 240; y < 360; ++y) {
        for (int x = 200; x < 600; ++x) {
            const SDL_Color c = pixel_at(name.get(), x, y);
            bright += c.r + c.g + c.b > 450;
        }
    }
    EXPECT_EQ(bright, 0);
}

TEST(CursorPictures, DesignSitsInsideAYellowBorderCentredOnThePointer)
{
    for (const char* path : keyed_pictures()) {
        SCOPED_TRACE(path);
        Picture picture = load(path);
        ASSERT_TRUE(picture);
        const int w = picture->w;
        const int h = picture->h;
        int left = w, right = -1, top = h, bottom = -1;
        int bright = 0, dark = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const SDL_Color c = pixel_at(picture.get(), x, y);
                const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                if (border) {
                    ASSERT_TRUE(is_yellow(c)) << "border pixel " << x << "," << y;
                }
                if (is_yellow(c)) {
                    continue;
                }
                // A blend towards yellow would show as a yellow fringe once
                // the key has removed the exact yellow around it.
                const int distance = std::abs(255 - c.r) + std::abs(255 - c.g) + c.b;
                EXPECT_GT(distance, 90) << "near-yellow pixel " << x << "," << y;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                bright += std::max({c.r, c.g, c.b}) >= 200;
                dark += c.r + c.g + c.b <= 90;
            }
        }
        ASSERT_GE(right, 0) << "no design";
        // The game puts pixel (w/2, h/2) under the pointer.
        EXPECT_NEAR((left + right) / 2.0, w / 2, 1.0);
        EXPECT_NEAR((top + bottom) / 2.0, h / 2, 1.0);
        // Bright strokes show on black, a dark rim on white and yellow targets.
        EXPECT_GT(bright, 10);
        EXPECT_GT(dark, 10);
    }
}

TEST(CursorPictures, OverStateDiffersAndEachVisorHasItsOwnDesign)
{
    std::vector<std::vector<Uint32>> normals;
    for (const assets::VisorAssets& row : assets::kVisors) {
        SCOPED_TRACE(row.normal);
        Picture normal = load(row.normal);
        Picture over = load(row.over);
        ASSERT_TRUE(normal && over);
        // Both states are drawn at the position computed from the normal one.
        ASSERT_EQ(normal->w, over->w);
        ASSERT_EQ(normal->h, over->h);
        int changed = 0;
        std::vector<Uint32> pixels;
        for (int y = 0; y < normal->h; ++y) {
            for (int x = 0; x < normal->w; ++x) {
                const SDL_Color a = pixel_at(normal.get(), x, y);
                const SDL_Color b = pixel_at(over.get(), x, y);
                changed += !testsupport::same_colour(a, b, 0);
                pixels.push_back(static_cast<Uint32>(a.r) << 16 | a.g << 8 | a.b);
            }
        }
        EXPECT_GT(changed, 20);
        for (const std::vector<Uint32>& other : normals) {
            EXPECT_NE(pixels, other);
        }
        normals.push_back(pixels);
    }
}

TEST(AssetFonts, BothOpenAtTheirSizesAndCarryFrenchLetters)
{
    ASSERT_EQ(TTF_Init(), 0);
    for (const char* name : {assets::kMenuFont, assets::kHudFont}) {
        for (int size : {22, 40, 90}) {
            TTF_Font* font = TTF_OpenFont(in_tree(name).string().c_str(), size);
            ASSERT_NE(font, nullptr) << name << " " << TTF_GetError();
            for (Uint16 letter : {0xE9, 0xE8, 0xE0, 0xE7, 0xA7}) {  // é è à ç §
                EXPECT_TRUE(TTF_GlyphIsProvided(font, letter)) << name << " U+" << letter;
            }
            SDL_Surface* text = TTF_RenderText_Blended(font, "Difficulte : 1", SDL_Color{255, 255, 255, 0});
            EXPECT_NE(text, nullptr);
            SDL_FreeSurface(text);
            TTF_CloseFont(font);
        }
    }
    TTF_Quit();
}

// Every menu the game shows; the main menu has its title above, resting on
// row 11 once it has slid in.
const MenuLayout* const kMenuScreens[] = {
    &layouts::kMain,     &layouts::kPlayResumable, &layouts::kPlay,  &layouts::kOptions,
    &layouts::kVisors,   &layouts::kDifficulties,  &layouts::kPage,
};

// First and last rows of `text` that hold any ink, or {-1, -1}.
std::pair<int, int> ink_rows(const SDL_Surface* text)
{
    std::pair<int, int> rows{-1, -1};
    const SDL_PixelFormat* f = text->format;
    for (int y = 0; y < text->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(text->pixels) +
                                                          y * text->pitch);
        for (int x = 0; x < text->w; ++x) {
            if (((row[x] & f->Amask) >> f->Ashift) > 24) {
                rows.first = rows.first < 0 ? y : rows.first;
                rows.second = y;
                break;
            }
        }
    }
    return rows;
}

TEST(AssetFonts, EveryMenuTextFitsTheWindowAndNeighbouringRowsStayApart)
{
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(in_tree(assets::kMenuFont).string().c_str(), 90);
    ASSERT_NE(font, nullptr);
    for (const MenuLayout* screen : kMenuScreens) {
        std::vector<MenuRow> rows(screen->begin(), screen->end());
        if (screen == &layouts::kMain) {
            rows.insert(rows.begin(), MenuRow{"Tirevane", 11, nullptr});
        }
        int previous_bottom = -1000;
        for (const MenuRow& row : rows) {
            SCOPED_TRACE(row.label);
            Picture text(TTF_RenderText_Blended(font, row.label, SDL_Color{0, 255, 0, 0}));
            ASSERT_TRUE(text);
            // 10 px of black on either side at the least, so nothing is cut.
            EXPECT_LE(text->w, 780);
            const std::pair<int, int> ink = ink_rows(text.get());
            ASSERT_GE(ink.first, 0);
            EXPECT_GT(row.y + ink.first, previous_bottom + 2) << "touches the row above";
            previous_bottom = row.y + ink.second;
        }
    }
    TTF_CloseFont(font);
    TTF_Quit();
}

TEST(AssetDataFiles, AreInstalledByteExactBeforeAnyGame)
{
    const std::string config = read_file(in_tree(assets::kConfigFile));
    EXPECT_EQ(config, std::string("[ \xA7Visor ] -> 0\n[ \xA7" "Difficulte ] -> 0"));
    EXPECT_EQ(config.size(), 36u);
    EXPECT_EQ(read_file(in_tree(assets::kSaveFile)),
              std::string("[ ! ] -> False\n[\xA7saved:Visor=0][\xA7saved:Diff=0]"
                          "[\xA7saved:GameScore=0]"));
}

TEST(AssetSounds, WavFilesArePcm16At44100ShortAndUnclipped)
{
    for (const char* path : {assets::kHitShot, assets::kMissShot, assets::kVisors[4].hit_sound,
                             assets::kVisors[5].hit_sound}) {
        SCOPED_TRACE(path);
        const std::string bytes = read_file(in_tree(path));
        ASSERT_GE(bytes.size(), 44u);
        ASSERT_EQ(bytes.substr(0, 4), "RIFF");
        ASSERT_EQ(bytes.substr(8, 4), "WAVE");
        EXPECT_EQ(le32(bytes, 4), bytes.size() - 8);
        bool have_format = false;
        int channels = 0;
        size_t at = 12;
        while (at + 8 <= bytes.size()) {
            const std::string id = bytes.substr(at, 4);
            const std::uint32_t size = le32(bytes, at + 4);
            ASSERT_LE(at + 8 + size, bytes.size()) << "chunk " << id << " overruns the file";
            if (id == "fmt ") {
                EXPECT_EQ(le16(bytes, at + 8), 1) << "not PCM";
                channels = le16(bytes, at + 10);
                EXPECT_TRUE(channels == 1 || channels == 2);
                EXPECT_EQ(le32(bytes, at + 12), 44100u);
                EXPECT_EQ(le16(bytes, at + 22), 16);
                have_format = true;
            } else if (id == "data") {
                ASSERT_TRUE(have_format) << "data before fmt";
                const size_t frames = size / (2 * channels);
                EXPECT_GT(frames, 4410u);
                EXPECT_LT(frames, 44100u) << "longer than a second";
                int peak = 0;
                for (size_t i = 0; i + 1 < size; i += 2) {
                    peak = std::max(peak, std::abs(static_cast<int>(
                                              static_cast<std::int16_t>(le16(bytes, at + 8 + i)))));
                }
                // Loud (above -3 dBFS) yet never at full scale.
                EXPECT_GT(peak, 23000);
                EXPECT_LT(peak, 32000);
                // Starting or stopping away from zero would click.
                const auto sample = [&](size_t frame) {
                    return std::abs(static_cast<int>(
                        static_cast<std::int16_t>(le16(bytes, at + 8 + frame * 2 * channels))));
                };
                EXPECT_LT(sample(0), 1000);
                for (size_t f = frames - 44; f < frames; ++f) {
                    EXPECT_LT(sample(f), 330) << "frame " << f;
                }
            }
            at += 8 + size + (size & 1);
        }
        EXPECT_TRUE(have_format);
    }
}

TEST(AssetSounds, WmaFilesAreAsfStreamsUnderASecond)
{
    // ASF header object, then the file properties object's GUID.
    const std::string header("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    const std::string properties("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65",
                                 16);
    for (int v = 1; v <= 3; ++v) {
        const char* path = assets::kVisors[v].hit_sound;
        SCOPED_TRACE(path);
        const std::string bytes = read_file(in_tree(path));
        ASSERT_EQ(bytes.substr(0, 16), header);
        const size_t at = bytes.find(properties);
        ASSERT_NE(at, std::string::npos);
        ASSERT_GE(bytes.size(), at + 88);
        // Play duration in 100 ns units, which includes the preroll in ms.
        const double seconds = le64(bytes, at + 64) / 1e7 - le64(bytes, at + 80) / 1e3;
        EXPECT_GT(seconds, 0.1);
        EXPECT_LT(seconds, 1.0);
    }
}

TEST(AssetSounds, MusicIsAnMp3LoopOfHalfAMinuteToAMinuteAndAHalf)
{
    const std::string bytes = read_file(in_tree(assets::kMenuMusic));
    size_t at = 0;
    if (bytes.compare(0, 3, "ID3") == 0) {
        ASSERT_GE(bytes.size(), 10u);
        at = 10 + ((bytes[6] & 0x7F) << 21 | (bytes[7] & 0x7F) << 14 | (bytes[8] & 0x7F) << 7 |
                   (bytes[9] & 0x7F));
    }
    ASSERT_GE(bytes.size(), at + 200);
    // An MPEG-1 layer III frame at 44100 Hz.
    ASSERT_EQ(static_cast<std::uint8_t>(bytes[at]), 0xFF);
    ASSERT_EQ(static_cast<std::uint8_t>(bytes[at + 1]) & 0xFE, 0xFA);
    ASSERT_EQ((static_cast<std::uint8_t>(bytes[at + 2]) >> 2) & 3, 0);
    // Its first frame carries the encoder's frame count (Xing/Info tag).
    size_t tag = bytes.find("Info", at);
    if (tag == std::string::npos || tag > at + 200) {
        tag = bytes.find("Xing", at);
    }
    ASSERT_LT(tag, at + 200);
    ASSERT_TRUE(be32(bytes, tag + 4) & 1) << "no frame count";
    const double seconds = be32(bytes, tag + 8) * 1152.0 / 44100.0;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 90.0);
}

}  // namespace
