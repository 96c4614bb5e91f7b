#include "app/game_main.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "core/assets.h"
#include "audio/fsound.h"
#include "app/command_line.h"
#include "app/intro.h"
#include "core/fullscreen.h"
#include "core/input.h"
#include "core/notice.h"
#include "core/surface.h"
#include "menu/menu.h"
#include "menu/menu_layouts.h"
#include "persist/atomic_file.h"
#include "persist/data_lock.h"

namespace {

enum class Kind { picture, font };

bool loads(const char* path, Kind kind)
{
    return kind == Kind::picture ? load_bmp(path) != nullptr : open_font(path, 12) != nullptr;
}

// Why a file cannot serve, with what the player can do about it: a missing
// file means the game was started from the wrong folder, one that is there
// but does not load needs a fresh copy.
void report_unusable(const char* path, Kind kind, const char* consequence)
{
    std::FILE* file = std::fopen(path, "rb");
    const int open_error = file ? 0 : errno;
    if (file) {
        std::fclose(file);
    }
    if (open_error == ENOENT) {
        std::fprintf(stderr, "tirevane: '%s' is missing; %s\n", path,
                     consequence ? consequence
                                 : "start the game from the folder that holds System/ and the "
                                   "font files");
    } else if (open_error != 0) {
        std::fprintf(stderr, "tirevane: '%s' cannot be read: %s; %s\n", path,
                     std::strerror(open_error),
                     consequence ? consequence : "make it readable");
    } else {
        std::fprintf(stderr, "tirevane: '%s' cannot be read: damaged or not a %s; %s\n", path,
                     kind == Kind::picture ? "BMP" : "font",
                     consequence ? consequence
                                 : "put back the file from the game's own copy (reinstall it)");
    }
}

// The screens cannot be shown without their pictures and fonts, so say
// plainly which ones cannot serve rather than open a blank window or lose a
// visor in the middle of a match. A missing page picture only leaves that
// page black, which is told here too, so it does not look like a bug later.
bool required_assets_present()
{
    bool all_present = true;
    const auto check = [&](const char* path, Kind kind) {
        if (!loads(path, kind)) {
            report_unusable(path, kind, nullptr);
            all_present = false;
        }
    };
    for (const char* path : assets::kRequiredFonts) {
        check(path, Kind::font);
    }
    for (const char* path : assets::kRequiredPictures) {
        check(path, Kind::picture);
    }
    for (const assets::VisorAssets& visor : assets::kVisors) {
        // The first visor is the menus' own cursor, checked above.
        if (visor.normal != assets::kCursorNormal) {
            check(visor.normal, Kind::picture);
            check(visor.over, Kind::picture);
        }
    }
    for (const char* path : assets::kOptionalPictures) {
        if (!loads(path, Kind::picture)) {
            report_unusable(path, Kind::picture, "its page will show black behind \"Retour\"");
        }
    }
    return all_present;
}

// Without a display SDL 1.2 falls back to drawing in the terminal with text
// characters, which nobody can play. Unless the player chose a driver, the
// game asks for the X11 one when there is a display and stops at once when
// there is none.
bool choose_video_driver()
{
    if (std::getenv("SDL_VIDEODRIVER")) {
        return true;
    }
    if (std::getenv("DISPLAY")) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        return true;
    }
    if (std::getenv("WAYLAND_DISPLAY")) {
        return true;
    }
    std::fprintf(stderr, "tirevane: no display available (DISPLAY is not set); start the game "
                         "in a graphical session\n");
    return false;
}

// The same fallback can still happen on a Wayland-only session.
bool reached_a_screen()
{
    char name[32] = {};
    SDL_VideoDriverName(name, sizeof name);
    const std::string driver(name);
    if (driver == "aalib" || driver == "caca") {
        std::fprintf(stderr, "tirevane: no display available (SDL only found its '%s' text-mode "
                             "driver); start the game in a graphical session\n",
                     name);
        return false;
    }
    return true;
}

Menu* build_main_menu()
{
    Menu* menu = new Menu(true);
    add_items(*menu, layouts::kMain);
    return menu;
}

// The sound first: it runs on SDL's audio, which SDL_Quit closes.
void shut_down_libraries()
{
    FSOUND_Close();
    TTF_Quit();
    SDL_Quit();
}

}  // namespace

void run_game(SDL_Surface* screen)
{
    FSOUND_STREAM* music = FSOUND_Stream_Open(assets::kMenuMusic, 0, 0, 0);
    Intro* intro = new Intro();
    Menu* main_menu = build_main_menu();

    const bool aborted = intro->run(screen);
    delete intro;

    if (!aborted) {
        FSOUND_Stream_SetLoopCount(music, -1);
        FSOUND_Stream_Play(-1, music);
        main_menu->slide_in(screen);
        main_menu->run(screen);
        FSOUND_Stream_Stop(music);
    }

    delete main_menu;
    FSOUND_Stream_Close(music);
}

int tirevane_main(int argc, char** argv)
{
    // Answered before any library starts: no window, no sound device.
    const CommandLine command = parse_command_line(argc, argv);
    const int answered = answer_command_line(command, stdout, stderr);
    if (answered >= 0) {
        return answered;
    }

    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // Held until the process ends, whichever way.
    const DataLock lock(assets::kDataFolder);
    if (!lock.held()) {
        char folder[4096] = ".";
        if (!::getcwd(folder, sizeof folder)) {
            std::snprintf(folder, sizeof folder, ".");
        }
        std::fprintf(stderr,
                     "tirevane: another Tirevane is already playing with the options and save "
                     "files in %s/%s; close it before starting this one\n",
                     folder, assets::kDataFolder);
        return 1;
    }

    const bool player_chose_driver = std::getenv("SDL_VIDEODRIVER") != nullptr;
    if (!choose_video_driver()) {
        return 1;
    }
    FSOUND_Init(44100, 32, 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "tirevane: cannot open the display%s%s%s: %s\n",
                     display ? " '" : "", display ? display : "", display ? "'" : "",
                     SDL_GetError());
        FSOUND_Close();
        return 1;
    }
    if (!player_chose_driver && !reached_a_screen()) {
        SDL_Quit();
        FSOUND_Close();
        return 1;
    }
    TTF_Init();
    if (!required_assets_present()) {
        shut_down_libraries();
        return 1;
    }

    SDL_WM_SetCaption("Tirevane", nullptr);
    // Kept for the life of the program: the window manager holds on to it.
    SurfacePtr icon = load_bmp(assets::kWindowIcon);
    if (icon) {
        SDL_WM_SetIcon(icon.get(), nullptr);
    }
    SDL_Surface* screen =
        SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (!screen) {
        std::fprintf(stderr, "tirevane: cannot open the %dx%d window: %s\n", kScreenWidth,
                     kScreenHeight, SDL_GetError());
        icon.reset();
        shut_down_libraries();
        return 1;
    }
    input::window_opened();
    set_failed_save_teller(notice::post);
    // The same switch as F11, so a display that cannot do it says so alike.
    if (command.fullscreen) {
        toggle_fullscreen();
    }

    run_game(screen);

    icon.reset();
    shut_down_libraries();
    return 0;
}
