// The options file over arbitrary bytes. Input: a flags byte, the visor and
// difficulty to write, then the file's bytes.
#include <string>

#include "core/assets.h"
#include "fuzz_support.h"
#include "persist/config_file.h"

using namespace fuzzsupport;

namespace {

void check_reads(ConfigFile& config, const OptionReads& expected)
{
    FUZZ_CHECK(config.read_visor() == expected.found);
    FUZZ_CHECK(config.visor() == expected.visor);
    FUZZ_CHECK(config.read_difficulty() == expected.found);
    FUZZ_CHECK(config.difficulty() == expected.difficulty);
}

// Checks the file holds the standard two lines (36 bytes) with these
// options and returns what reading it back gives.
OptionReads check_written(char visor, char difficulty)
{
    const std::string written = read_file(assets::kConfigFile);
    FUZZ_CHECK(written == std::string("[ \xA7Visor ] -> ") + visor + "\n[ \xA7" "Difficulte ] -> " +
                              difficulty);
    FUZZ_CHECK(!exists((std::string(assets::kConfigFile) + ".tmp").c_str()));
    return expected_option_reads(true, written);
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
    const OptionReads before = expected_option_reads(present, bytes);
    check_reads(config, before);

    // Each write carries the other option over as the file reads then,
    // whatever byte it is; a difficulty written as a line break reads as
    // the byte before it.
    OptionReads after;
    if (visor_first) {
        config.write_visor(new_visor);
        const OptionReads first = check_written(new_visor, before.difficulty);
        config.write_difficulty(new_difficulty);
        after = check_written(first.visor, new_difficulty);
    } else {
        config.write_difficulty(new_difficulty);
        const OptionReads first = check_written(before.visor, new_difficulty);
        config.write_visor(new_visor);
        after = check_written(new_visor, first.difficulty);
    }
    check_reads(config, after);
    return 0;
}
