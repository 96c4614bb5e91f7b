#include <gtest/gtest.h>

#include <random>
#include <string>

#include "persist/config_file.h"
#include "persist/key_scanner.h"
#include "persist/profile.h"
#include "persist_test_util.h"

using namespace persisttest;

namespace {

const std::string kVisorKey = "[\xA7saved:Visor=";
const std::string kDiffKey = "[\xA7saved:Diff=";
const std::string kScoreKey = "[\xA7saved:GameScore=";
const std::string kTrue = "[ ! ] -> True\n";
const std::string kFalse = "[ ! ] -> False\n";

// A save file as the game lays it out, with any visor, difficulty and
// digits.
std::string laid_out(const std::string& marker_line, char visor, char difficulty,
                     const std::string& digits)
{
    return marker_line + kVisorKey + visor + "]" + kDiffKey + difficulty + "]" + kScoreKey +
           digits + "]";
}

// Bytes drawn mostly from the characters the data files are made of, so
// that keys, markers and brackets turn up often enough to matter.
std::string random_bytes(std::mt19937& rng, std::size_t max_length)
{
    static const std::string pieces[] = {kVisorKey, kDiffKey, kScoreKey, kTrue, kFalse,
                                         "]",       "[",      " ",       "\n",  "\r\n",
                                         "\xFF"};
    std::uniform_int_distribution<std::size_t> length(0, max_length);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::string bytes;
    const std::size_t n = length(rng);
    while (bytes.size() < n) {
        const int k = kind(rng);
        if (k < 2) {
            bytes += pieces[piece(rng)];
        } else if (k < 5) {
            bytes.push_back(static_cast<char>('0' + byte(rng) % 10));
        } else {
            bytes.push_back(static_cast<char>(byte(rng)));
        }
    }
    return bytes;
}

// The text as the game reads it: up to the first 0xFF byte.
std::string as_read(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\xFF'));
}

std::string entry_value_after(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find(key);
    if (at == std::string::npos || at + key.size() >= text.size()) {
        return "<missing>";
    }
    return text.substr(at + key.size(), 1);
}

}  // namespace

using PropertyTest = PersistTest;

TEST_F(PropertyTest, AnyBytesAsDataFilesAreReadAsTheRulesSay)
{
    std::mt19937 rng(20240601);
    for (int round = 0; round < 400; ++round) {
        const std::string options = random_bytes(rng, 60);
        const std::string saved = random_bytes(rng, 200);
        write_config(options);
        write_save(saved);

        ConfigFile config;
        const bool has_visor = config.read_visor();
        const bool has_difficulty = config.read_difficulty();
        // Trailing line breaks are no option; byte 14 counts wherever it is.
        const std::size_t last = options.find_last_not_of("\r\n");
        const bool has_content = last != std::string::npos;
        ASSERT_EQ(has_visor, has_content);
        ASSERT_EQ(has_difficulty, has_content);
        if (has_content) {
            ASSERT_EQ(config.visor(), options.size() > 14 ? options[14] : '\xFF');
            ASSERT_EQ(config.difficulty(), options[last]);
        } else {
            ASSERT_EQ(config.visor(), '0');
            ASSERT_EQ(config.difficulty(), '0');
        }

        const std::string text = as_read(saved);
        for (const std::string& key : {kVisorKey, kScoreKey, kTrue, std::string("]")}) {
            KeyScanner scanner;
            Sint32 position = -1;
            const bool found = scanner.find_key(assets::kSaveFile, key.c_str(), &position);
            const std::size_t at = text.find(key);
            ASSERT_EQ(found, at != std::string::npos);
            if (found) {
                ASSERT_EQ(position, static_cast<Sint32>(at + key.size()));
            }
        }

        // A whole game's worth of reads and writes, then the score write.
        Profile profile;
        profile.load();
        profile.load_score_digits();
        profile.write_visor_difficulty(assets::kSaveFile);
        const Sint32 score = profile.score_to_number();
        ASSERT_GE(score, 0);
        ASSERT_LE(profile.visor_index(), 9);
        ASSERT_LE(profile.difficulty_index(), 9);
        save_digits(std::to_string(score));
        ConfigFile options_writer;
        options_writer.write_visor('3');
        ASSERT_EQ(config_file().size(), 36u);
    }
}

TEST_F(PropertyTest, LaidOutFilesKeepTheirEntriesThroughEveryScoreWrite)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 254);  // never 0xFF
    std::uniform_int_distribution<int> digits_length(0, 12);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<Sint32> score(0, 100000000);
    for (int round = 0; round < 300; ++round) {
        const char visor = static_cast<char>(byte(rng));
        const char difficulty = static_cast<char>(byte(rng));
        std::string digits;
        for (int i = digits_length(rng); i > 0; --i) {
            digits.push_back(static_cast<char>('0' + digit(rng)));
        }
        write_save(laid_out(round % 2 ? kTrue : kFalse, visor, difficulty, digits));

        for (int write = 0; write < 4; ++write) {
            const Sint32 value = write == 3 ? 0 : score(rng);
            save_digits(std::to_string(value));
            const std::string expected_digits = std::to_string(value);
            const std::string now = save_file();
            ASSERT_EQ(now, laid_out(value ? kTrue : kFalse, visor, difficulty, expected_digits));
            ASSERT_EQ(entry_value_after(now, kVisorKey), std::string(1, visor));
            ASSERT_EQ(entry_value_after(now, kDiffKey), std::string(1, difficulty));

            // The digits read, written back, leave the file as it was.
            Profile reader;
            reader.load_score_digits();
            ASSERT_EQ(reader.score_to_number(), value);
            reader.write_score();
            ASSERT_EQ(save_file(), now);
        }
    }
}
