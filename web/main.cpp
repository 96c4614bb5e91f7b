// The browser's entry point. The player's options and save file live in
// IndexedDB: runtime.js mounts it at /saves and reads it back before main.
// The game opens its data files where the desktop has them, so each one is
// a link into /saves; a first visit starts from the defaults packed with
// the page.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/game_main.h"
#include "core/assets.h"

namespace {

constexpr const char* kSavesFolder = "/saves/";

bool exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

void link_into_saves(const std::string& packed)
{
    const std::string saved = kSavesFolder + packed.substr(packed.find_last_of('/') + 1);
    if (!exists(saved)) {
        std::ifstream from(packed, std::ios::binary);
        std::ofstream to(saved, std::ios::binary);
        to << from.rdbuf();
    }
    if (::unlink(packed.c_str()) != 0 || ::symlink(saved.c_str(), packed.c_str()) != 0) {
        std::perror(("tirevane: cannot keep " + packed + " in the browser's storage").c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    link_into_saves(std::string("/") + assets::kConfigFile);
    link_into_saves(std::string("/") + assets::kSaveFile);
    return tirevane_main(argc, argv);
}
