// Draws and synthesises every asset of the game.
// Usage: make_assets <repository root> <work folder>
// Pictures, WAV sounds and the data files go straight into the tree; the
// music and the three WMA sounds go to the work folder as WAV, for
// tools/make-assets to encode with ffmpeg.
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "data_files.h"
#include "effects.h"
#include "music.h"
#include "pictures.h"
#include "visors.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <repository root> <work folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const std::string work = argv[2];
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "make_assets: cannot start SDL_ttf: %s\n", TTF_GetError());
        return 1;
    }
    int status = 0;
    try {
        namespace fs = std::filesystem;
        for (const char* dir : {"System/01/Introduce", "System/01/Menu", "System/01/Visors",
                                "System/02", "System/Sounds"}) {
            fs::create_directories(fs::path(root) / dir);
        }
        fs::create_directories(work);
        make_intro_and_icon(root);
        make_pages(root);
        make_visors(root);
        make_effects(root, work);
        make_music(work + "/main.wav");
        make_data_files(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_assets: %s\n", e.what());
        status = 1;
    }
    TTF_Quit();
    return status;
}
