// The options file over arbitrary bytes. Input: a flags byte, the visor and
// difficulty to write, then the file's bytes.
#include <string>

#include "app/assets.h"
#include "fuzz_support.h"
#include "persist/config_file.h"

using namespace fuzzsupport;

namespace {

struct Expected {
    bool found;
    char visor;
    char difficulty;
};

// Byte 14 and the last byte; a file too short for byte 14 gives the end of
// file stored in a char, 0xFF; a missing or empty file gives '0' and false.
Expected expected_reads(bool present, const std::string& bytes)
{
    if (!present || bytes.empty()) {
        return {false, '0', '0'};
    }
    return {true, bytes.size() > 14 ? bytes[14] : '\xFF', bytes.back()};
}

void check_reads(ConfigFile& config, const Expected& expected)
{
    FUZZ_CHECK(config.read_visor() == expected.found);
    FUZZ_CHECK(config.visor() == expected.visor);
    FUZZ_CHECK(config.read_difficulty() == expected.found);
    FUZZ_CHECK(config.difficulty() == expected.difficulty);
}

void check_written(char visor, char difficulty)
{
    const std::string written = read_file(assets::kConfigFile);
    FUZZ_CHECK(written.size() == 36);
    FUZZ_CHECK(written == options_text(visor, difficulty));
    FUZZ_CHECK(!exists((std::string(assets::kConfigFile) + ".tmp").c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enter_private_game_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    const std::uint8_t flags = input.byte();
    const char new_visor = static_cast<char>(input.byte());
    const char new_difficulty = static_cast<char>(input.byte());
    const std::string bytes = input.rest();
    const bool present = (flags & 1) == 0;
    const bool visor_first = (flags & 2) == 0;

    if (present) {
        write_file(assets::kConfigFile, bytes);
    } else {
        remove_file(assets::kConfigFile);
    }
    ConfigFile config;
    const Expected before = expected_reads(present, bytes);
    check_reads(config, before);

    // The first write carries the other option over from the old file,
    // whatever byte it is; the second carries over the first write's.
    if (visor_first) {
        config.write_visor(new_visor);
        check_written(new_visor, before.difficulty);
        config.write_difficulty(new_difficulty);
    } else {
        config.write_difficulty(new_difficulty);
        check_written(before.visor, new_difficulty);
        config.write_visor(new_visor);
    }
    check_written(new_visor, new_difficulty);
    check_reads(config, {true, new_visor, new_difficulty});
    return 0;
}
