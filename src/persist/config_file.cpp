#include "persist/config_file.h"

#include <string>

#include "app/assets.h"
#include "persist/atomic_file.h"

bool ConfigFile::read_byte(long offset, int whence, char& out)
{
    out = '0';
    file = std::fopen(assets::kConfigFile, "r");
    if (!file) {
        return false;
    }
    bool has_content = std::fgetc(file) != EOF;
    if (has_content) {
        std::fseek(file, offset, whence);
        out = static_cast<char>(std::fgetc(file));
    }
    std::fclose(file);
    file = nullptr;
    return has_content;
}

bool ConfigFile::read_visor()
{
    return read_byte(14, SEEK_SET, visor_char);
}

bool ConfigFile::read_difficulty()
{
    return read_byte(-1, SEEK_END, difficulty_char);
}

void ConfigFile::write_visor(char c)
{
    read_difficulty();
    write_options(c, difficulty_char);
}

void ConfigFile::write_difficulty(char c)
{
    read_visor();
    write_options(visor_char, c);
}

void ConfigFile::write_options(char visor, char difficulty)
{
    // Built byte by byte: the carried-over option may be any byte, NUL too.
    std::string bytes = "[ \xA7Visor ] -> ";
    bytes.push_back(visor);
    bytes += "\n[ \xA7" "Difficulte ] -> ";
    bytes.push_back(difficulty);
    replace_file_atomically(assets::kConfigFile, bytes);
}
