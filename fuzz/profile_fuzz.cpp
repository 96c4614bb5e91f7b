// The save-file operations of the profile over arbitrary file bytes, and
// over files in the documented layout built from the input.
//
// Input, first byte even (raw files): a flags byte, the options file's
// length and bytes, a score, then the save file's bytes.
// First byte odd (documented layout): a flags byte, the saved visor and
// difficulty, up to 12 digits, a score, then the options file's bytes.
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "core/assets.h"
#include "fuzz_support.h"
#include "persist/profile.h"
#include "persist/save_format.h"

using namespace fuzzsupport;

namespace {

struct Layout {
    bool resumable;
    char visor;
    char difficulty;
    std::string digits;
};

// The documented save file: marker line, visor, difficulty and score
// entries in this order, nothing before or after.
std::optional<Layout> parse_layout(const std::string& bytes)
{
    Layout layout{};
    std::string::size_type at = 0;
    for (const bool resumable : {true, false}) {
        const std::string marker = save_format::marker_line(resumable);
        if (bytes.compare(0, marker.size(), marker) == 0) {
            layout.resumable = resumable;
            at = marker.size();
        }
    }
    if (at == 0) {
        return std::nullopt;
    }
    // Each entry holds its key, a one-byte value and its end.
    at += std::strlen(save_format::kVisorKey);
    const std::string::size_type visor_at = at;
    at += 2 + std::strlen(save_format::kDifficultyKey);
    const std::string::size_type difficulty_at = at;
    const std::string::size_type digits_at = at + 2 + std::strlen(save_format::kScoreKey);
    if (bytes.size() < digits_at + 1 || bytes.back() != save_format::kEntryEnd) {
        return std::nullopt;
    }
    layout.visor = bytes[visor_at];
    layout.difficulty = bytes[difficulty_at];
    layout.digits = bytes.substr(digits_at, bytes.size() - 1 - digits_at);
    if (layout.digits.find_first_not_of("0123456789") != std::string::npos ||
        bytes != save_layout(layout.resumable, layout.visor, layout.difficulty, layout.digits) ||
        layout.visor == '\xFF' || layout.difficulty == '\xFF') {
        return std::nullopt;
    }
    return layout;
}

// The score a fresh profile reads from the save file; the digits it read,
// written back, must leave the file as it was.
std::int32_t read_back_score()
{
    const std::string before = read_file(assets::kSaveFile);
    Profile profile;
    profile.load_score_digits();
    const std::int32_t number = profile.score_to_number();
    profile.write_score();
    FUZZ_CHECK(read_file(assets::kSaveFile) == before);
    return number;
}

// What the game does with the profile: the play action before a match,
// then the match's score save through a fresh profile.
void play_and_save(const std::optional<Layout>& layout, bool save_was_empty,
                   const std::string& config, bool config_present, std::int32_t score)
{
    // An options byte of 0xFF (a short options file) is saved as the default.
    const OptionReads options = expected_option_reads(config_present, config);
    char visor = options.visor;
    char difficulty = options.difficulty;
    visor = visor == '\xFF' ? save_format::kDefaultValue : visor;
    difficulty = difficulty == '\xFF' ? save_format::kDefaultValue : difficulty;

    Profile profile;
    profile.load();
    profile.load_score_digits();
    const std::int32_t number = profile.score_to_number();
    FUZZ_CHECK(number >= 0);
    profile.write_visor_difficulty(assets::kSaveFile);
    if (layout) {
        // The options land where the file keeps the visor and the difficulty.
        FUZZ_CHECK(number == expected_number(layout->digits));
        FUZZ_CHECK(read_file(assets::kSaveFile) ==
                   save_layout(layout->resumable, visor, difficulty, layout->digits));
    }

    Profile saver;
    CharList digits;
    const std::string formatted = decimal(score);
    digits.assign(formatted.c_str());
    saver.set_score_digits(digits);
    saver.write_score();
    FUZZ_CHECK(!exists((std::string(assets::kSaveFile) + ".tmp").c_str()));

    if (!layout && !save_was_empty) {
        return;
    }
    // From here the file was in the layout, or missing or empty (then it is
    // created and takes the layout at the score write).
    const bool resumable = formatted != "0";
    FUZZ_CHECK(read_file(assets::kSaveFile) ==
               save_layout(resumable, visor, difficulty, formatted));
    FUZZ_CHECK(read_back_score() == score);
}

void check_number_conversion(const std::string& bytes)
{
    Profile profile;
    CharList digits;
    digits.append_bytes(bytes);
    profile.set_score_digits(digits);
    FUZZ_CHECK(profile.score_to_number() == expected_number(bytes));
    // The digits as the conversion left them, written into a score entry.
    const bool all_digits = bytes.find_first_not_of("0123456789") == std::string::npos;
    write_file(assets::kSaveFile, std::string(save_format::kScoreKey) + save_format::kEntryEnd);
    profile.write_score();
    FUZZ_CHECK(read_file(assets::kSaveFile) ==
               save_format::kScoreKey + (all_digits ? bytes : "0") + save_format::kEntryEnd);
    FUZZ_CHECK(digits.to_bytes() == bytes);
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
    const std::uint8_t mode = input.byte();
    const std::uint8_t flags = input.byte();
    const bool config_present = (flags & 1) == 0;
    const bool save_present = (flags & 2) == 0;

    std::string config;
    std::string save;
    std::int32_t score = 0;
    if (mode % 2 == 0) {
        config = input.bytes(input.byte());
        score = static_cast<std::int32_t>(input.word() & INT_MAX);
        save = input.rest();
    } else {
        const char visor = static_cast<char>(input.byte());
        const char difficulty = static_cast<char>(input.byte());
        std::string digits;
        for (int count = input.byte() % 13; count > 0; --count) {
            digits.push_back(static_cast<char>('0' + input.byte() % 10));
        }
        score = static_cast<std::int32_t>(input.word() & INT_MAX);
        save = save_layout((flags & 4) != 0, visor, difficulty, digits);
        config = input.rest();
    }

    if (config_present) {
        write_file(assets::kConfigFile, config);
    } else {
        remove_file(assets::kConfigFile);
    }
    if (save_present) {
        write_file(assets::kSaveFile, save);
    } else {
        remove_file(assets::kSaveFile);
    }
    const std::optional<Layout> layout =
        save_present ? parse_layout(save) : std::optional<Layout>{};
    play_and_save(layout, !save_present || save.empty(), config, config_present, score);
    check_number_conversion(save.substr(0, 64));
    return 0;
}
