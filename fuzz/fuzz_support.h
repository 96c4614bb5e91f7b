#ifndef TIREVANE_FUZZ_FUZZ_SUPPORT_H
#define TIREVANE_FUZZ_FUZZ_SUPPORT_H

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "persist/save_format.h"

// A broken invariant must stop the run like a sanitizer report does, so
// libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                                \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

namespace fuzzsupport {

// A save file in the layout the game keeps once a match has been saved:
// the marker line, then the visor, difficulty and score entries.
inline std::string save_layout(bool resumable, char visor, char difficulty,
                               const std::string& digits)
{
    return save_format::marker_line(resumable) +
           save_format::entry(save_format::kVisorKey, visor) +
           save_format::entry(save_format::kDifficultyKey, difficulty) + save_format::kScoreKey +
           digits + save_format::kEntryEnd;
}

// What the options file gives for the visor and the difficulty: byte 14
// (0xFF when the file is shorter, as the end of file stored in a char) and
// the last byte before any trailing CR and LF. A missing file, an empty
// one and one of line breaks only give '0' and false.
struct OptionReads {
    bool found;
    char visor;
    char difficulty;
};

inline OptionReads expected_option_reads(bool present, const std::string& bytes)
{
    const std::string::size_type last = bytes.find_last_not_of("\r\n");
    if (!present || last == std::string::npos) {
        return {false, '0', '0'};
    }
    return {true, bytes.size() > 14 ? bytes[14] : '\xFF', bytes[last]};
}

// What a text becomes when read through a character list: it ends at the
// first 0xFF byte.
inline std::string as_read(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\xFF'));
}

inline void write_file(const char* path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

inline std::string read_file(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool exists(const char* path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

inline void remove_file(const char* path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// The game's score formatting: a non-negative 32-bit number in decimal.
inline std::string decimal(std::int32_t score)
{
    char formatted[45] = {};
    std::snprintf(formatted, sizeof formatted, "%ld", static_cast<long>(score));
    return formatted;
}

// The value of the digits after the last non-digit, saturated at the
// largest 32-bit number: what the profile's conversion must give.
inline std::int32_t expected_number(const std::string& digits)
{
    std::string::size_type start = digits.find_last_not_of("0123456789");
    start = start == std::string::npos ? 0 : start + 1;
    start = digits.find_first_not_of('0', start);
    if (start == std::string::npos) {
        return 0;
    }
    const std::string significant = digits.substr(start);
    if (significant.size() > 10) {
        return INT_MAX;
    }
    const long long value = std::stoll(significant);
    return value > INT_MAX ? INT_MAX : static_cast<std::int32_t>(value);
}

// Every target works in a private folder laid out like the game's, which
// it enters once and removes at exit; the game's files use relative paths.
inline void enter_private_game_folder()
{
    static std::string folder;
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tirevane-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    folder = pattern;
    FUZZ_CHECK(chdir(folder.c_str()) == 0);
    std::filesystem::create_directories("System/01");
    std::filesystem::create_directories("System/02");
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

// Reads the fuzz input front to back; an exhausted input yields zeros.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::uint8_t byte() { return offset < size ? data[offset++] : 0; }
    std::uint32_t word()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | byte();
        }
        return value;
    }
    std::string bytes(std::size_t count)
    {
        count = count < size - offset ? count : size - offset;
        std::string out(reinterpret_cast<const char*>(data + offset), count);
        offset += count;
        return out;
    }
    std::string rest() { return bytes(size - offset); }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset = 0;
};

}  // namespace fuzzsupport

#endif
