#include "data_files.h"

#include <cstdio>
#include <stdexcept>

namespace {

// Written in binary: the files hold Windows-1252 bytes (0xA7 is the section
// sign), LF line breaks, and no line break at the end.
void write_bytes(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

void make_data_files(const std::string& root)
{
    write_bytes(root + "/System/01/config.conf",
                "[ \xA7Visor ] -> 0\n[ \xA7" "Difficulte ] -> 0");
    // The game rewrites the marker line and the score entry in place but
    // never creates them, so both must be present from the start.
    write_bytes(root + "/System/02/user.saved",
                "[ ! ] -> False\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=0]");
}
