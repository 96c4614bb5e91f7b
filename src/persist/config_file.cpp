#include "persist/config_file.h"

#include <algorithm>

#include "core/assets.h"
#include "persist/atomic_file.h"
#include "persist/save_format.h"

namespace {

bool is_line_break(char c)
{
    return c == '\r' || c == '\n';
}

// Offset of the last byte that is not a line break, or -1 when the file
// holds nothing else: a hand-edited file usually ends with a line break,
// which is no option.
long last_content_byte(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    // Read backwards a block at a time: a file of many blank lines must not
    // cost a read per byte.
    constexpr long kBlock = 512;
    char block[kBlock];
    for (long end = std::ftell(file); end > 0;) {
        const long start = std::max(end - kBlock, 0L);
        const std::size_t size = static_cast<std::size_t>(end - start);
        if (std::fseek(file, start, SEEK_SET) != 0 || std::fread(block, 1, size, file) != size) {
            return -1;
        }
        for (std::size_t i = size; i > 0; --i) {
            if (!is_line_break(block[i - 1])) {
                return start + static_cast<long>(i - 1);
            }
        }
        end = start;
    }
    return -1;
}

}  // namespace

bool ConfigFile::read_byte(Position position, char& out)
{
    out = save_format::kDefaultValue;
    file = std::fopen(assets::kConfigFile, "r");
    if (!file) {
        return false;
    }
    const long last = last_content_byte(file);
    const bool has_content = last >= 0;
    if (has_content) {
        const long offset = position == Position::kVisor ? save_format::kVisorOffset : last;
        std::fseek(file, offset, SEEK_SET);
        out = static_cast<char>(std::fgetc(file));
    }
    std::fclose(file);
    file = nullptr;
    return has_content;
}

bool ConfigFile::read_visor()
{
    return read_byte(Position::kVisor, visor_char);
}

bool ConfigFile::read_difficulty()
{
    return read_byte(Position::kDifficulty, difficulty_char);
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
    save_data_file(assets::kConfigFile, save_format::options_text(visor, difficulty),
                   save_format::kOptionsNotKept);
}
