#ifndef TIREVANE_PERSIST_PROFILE_H
#define TIREVANE_PERSIST_PROFILE_H

#include <cstdint>

#include "persist/char_list.h"
#include "persist/config_file.h"
#include "persist/save_format.h"

// The player's options and saved progress. The save file (its layout is in
// persist/save_format.h) holds a resume marker line, the visor and
// difficulty of the last game and the score. A profile works on it as a
// CharList from the moment it is read to the moment it is written.
class Profile : public ConfigFile {
public:
    Profile() = default;
    ~Profile() = default;

    // Takes the options from the options file, which always win, reads the
    // save file and finds where it keeps the visor and the difficulty.
    void load();
    // Appends the saved score's characters (blanks skipped) to the digits,
    // from the save file as load() read it; reads it first without load().
    void load_score_digits();
    // Replaces the text with the content of the file at `path`.
    void read_text(const char* path);
    // Writes this profile's visor and difficulty into the save file.
    void write_visor_difficulty(const char* path);
    // Writes the digits into the save file and sets the resume marker.
    void write_score();

    std::int32_t visor_index() const;
    std::int32_t difficulty_index() const;
    // The digits as a number, saturating at the largest 32-bit value. A
    // non-digit ends the walk and resets the digits to "0".
    std::int32_t score_to_number();
    void set_score_digits(const CharList& list);

private:
    bool read_file(const char* path);
    void replace_score_digits();
    void append_score_entry();
    void add_missing_entries();

    CharList text;
    // True while `text` is the save file as load() read it.
    bool holds_save_file = false;
    CharList score_digits;
    char saved_visor = save_format::kDefaultValue;
    std::int32_t visor_position = 0;
    char saved_difficulty = save_format::kDefaultValue;
    std::int32_t difficulty_position = 0;
    std::int32_t score_position = 0;
};

#endif
