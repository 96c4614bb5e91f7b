#ifndef TIREVANE_CORE_ASSETS_H
#define TIREVANE_CORE_ASSETS_H

// Every file the game reads, relative to its working directory.
namespace assets {

constexpr const char* kMenuFont = "alphamalemodern.ttf";
constexpr const char* kHudFont = "spaceage.ttf";

constexpr const char* kIntroPresents = "System/01/Introduce/Intro_presents.bmp";
constexpr const char* kIntroName = "System/01/Introduce/Intro_Tirevane.bmp";
constexpr const char* kWindowIcon = "System/01/Menu/Menu_Composed.bmp";
constexpr const char* kMenuMusic = "System/01/Menu/main.mp3";
constexpr const char* kCursorNormal = "System/01/Menu/Cursor_Curs01.bmp";
constexpr const char* kCursorOver = "System/01/Menu/Cursor_Curs02.bmp";
constexpr const char* kHitShot = "System/01/Menu/gun_shot.wav";
constexpr const char* kMissShot = "System/01/Menu/missed_gun_shot.wav";
constexpr const char* kHowToPlayPage = "System/02/How_play.bmp";
constexpr const char* kAboutPage = "System/02/About.bmp";

// The folder of both data files, which one game at a time may rewrite.
constexpr const char* kDataFolder = "System";
constexpr const char* kConfigFile = "System/01/config.conf";
constexpr const char* kSaveFile = "System/02/user.saved";

// One visor the options menu offers: its label there, its picture over
// empty space and over a live target, and the sound of a hit. The options
// file keeps a visor as the digit of its row. The menu and the match both
// read it here.
struct VisorAssets {
    const char* label;
    const char* normal;
    const char* over;
    const char* hit_sound;
};

constexpr int kVisorCount = 6;
constexpr VisorAssets kVisors[kVisorCount] = {
    {"Default", kCursorNormal, kCursorOver, kHitShot},
    {"FPS", "System/01/Visors/Visor_Visor02a.bmp", "System/01/Visors/Visor_Visor02b.bmp",
     "System/Sounds/future_plasma.wma"},
    {"High Flight Combat", "System/01/Visors/Visor_Visor03a.bmp",
     "System/01/Visors/Visor_Visor03b.bmp", "System/Sounds/high_flight_combat.wma"},
    {"Heavy Weapon", "System/01/Visors/Visor_Visor04a.bmp",
     "System/01/Visors/Visor_Visor04b.bmp", "System/Sounds/heavy_weapon.wma"},
    {"Simple", "System/01/Visors/Visor_Visor05a.bmp", "System/01/Visors/Visor_Visor05b.bmp",
     "System/Sounds/simple.wav"},
    {"Sniper", "System/01/Visors/Visor_Visor06a.bmp", "System/01/Visors/Visor_Visor06b.bmp",
     "System/Sounds/sniper.wav"},
};

// Files without which the game cannot show its screens, besides every
// visor's two pictures; sounds are not among them, a missing sound only
// stays silent.
constexpr const char* kRequiredFonts[] = {kMenuFont, kHudFont};
constexpr const char* kRequiredPictures[] = {
    kIntroPresents, kIntroName, kWindowIcon, kCursorNormal, kCursorOver,
};
// The two text pages: without its picture a page shows black behind its
// "Retour" label, which still leads back to the menu.
constexpr const char* kOptionalPictures[] = {kHowToPlayPage, kAboutPage};

}  // namespace assets

#endif
