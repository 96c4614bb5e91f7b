#ifndef TIREVANE_PERSIST_CONFIG_FILE_H
#define TIREVANE_PERSIST_CONFIG_FILE_H

#include <cstdio>

#include "core/non_copyable.h"

// The options file (its layout is in persist/save_format.h): the visor is
// byte 14, the difficulty the last byte before any trailing line breaks.
// Every write replaces the whole file with the standard two-line text.
class ConfigFile : private NonCopyable {
public:
    ConfigFile() = default;
    ~ConfigFile() = default;

    // Each read gives '0' and false when the file is missing, empty or
    // nothing but line breaks. A file too short to hold byte 14 reads as
    // 0xFF, as the end of file does.
    bool read_visor();
    bool read_difficulty();
    // Rewrite the file with the given option and the other one as the file
    // holds it now. A file that cannot be written keeps its old content.
    void write_visor(char c);
    void write_difficulty(char c);

    char visor() const { return visor_char; }
    char difficulty() const { return difficulty_char; }

private:
    enum class Position { kVisor, kDifficulty };

    bool read_byte(Position position, char& out);
    void write_options(char visor, char difficulty);

    std::FILE* file = nullptr;
    char visor_char = '\0';
    char difficulty_char = '\0';
};

#endif
