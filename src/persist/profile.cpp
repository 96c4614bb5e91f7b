#include "persist/profile.h"

#include <climits>
#include <cstring>
#include <string>

#include "core/assets.h"
#include "persist/atomic_file.h"
#include "persist/key_scanner.h"

namespace {

// Position just past the resume marker (False is looked for first).
bool find_marker(const CharList& text, std::int32_t& position)
{
    return KeyScanner::search(text, save_format::kFinishedMarker, &position) ||
           KeyScanner::search(text, save_format::kResumableMarker, &position);
}

// The character at `position`, or NUL past the end of the text.
char char_at(const CharList& list, std::int32_t position)
{
    return position < list.count() ? list.node_at(position)->value() : '\0';
}

// Inserts `bytes` so that its first character lands at `index`.
void insert_at(CharList& list, std::int32_t index, const std::string& bytes)
{
    if (index <= 0 || list.is_empty()) {
        CharList front;
        front.append_bytes(bytes);
        front.append_list(list);
        list.append_list(front);
        return;
    }
    CharNode* node = list.node_at(index - 1);
    for (char c : bytes) {
        node->insert_after(c);
        node = node->next_node();
    }
}

// Sets the value character at `position`; a key that ends the text gets
// its value appended rather than overwriting its own last character.
void set_value_at(CharList& list, std::int32_t position, char value)
{
    if (position < list.count()) {
        list.node_at(position)->set_value(value);
    } else {
        list.append(value);
    }
}

// An option as the save file keeps it. A short options file reads as the
// byte 0xFF, which counts as 0 anyway; written into the save file it would
// end that file's text there.
char storable_option(bool found, char option)
{
    return found && option != '\xFF' ? option : save_format::kDefaultValue;
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

std::int32_t digit_index(char c)
{
    return is_digit(c) ? c - '0' : 0;
}

}  // namespace

void Profile::load()
{
    // The options file always wins over what the save file stored.
    const bool has_visor = read_visor();
    const bool has_difficulty = read_difficulty();
    saved_visor = storable_option(has_visor, visor());
    saved_difficulty = storable_option(has_difficulty, difficulty());
    read_file(assets::kSaveFile);
    holds_save_file = true;
    KeyScanner::search(text, save_format::kVisorKey, &visor_position);
    KeyScanner::search(text, save_format::kDifficultyKey, &difficulty_position);
}

void Profile::load_score_digits()
{
    if (!holds_save_file) {
        read_file(assets::kSaveFile);
        holds_save_file = true;
    }
    if (!KeyScanner::search(text, save_format::kScoreKey, &score_position)) {
        return;
    }
    // A missing "]" ends the walk at the end of the text; the characters
    // read up to there still count as the score.
    const CharNode* node = score_position < text.count() ? text.node_at(score_position) : nullptr;
    for (; node && node->value() != save_format::kEntryEnd; node = node->next_node()) {
        if (node->value() != ' ') {
            score_digits.append(node->value());
        }
    }
}

void Profile::read_text(const char* path)
{
    read_file(path);
}

bool Profile::read_file(const char* path)
{
    text.clear();
    holds_save_file = false;
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        return false;
    }
    text.append_file(file);
    std::fclose(file);
    return true;
}

void Profile::write_visor_difficulty(const char* path)
{
    // At the start of a match load() has just read the save file.
    if (!holds_save_file || std::strcmp(path, assets::kSaveFile) != 0) {
        read_file(path);
    }
    holds_save_file = false;  // the text is about to change
    if (text.is_empty()) {
        save_data_file(path, save_format::fresh_save(saved_visor, saved_difficulty),
                       save_format::kScoreNotKept);
        return;
    }
    if (visor_position > 0) {
        set_value_at(text, visor_position, saved_visor);
    }
    if (difficulty_position > 0) {
        set_value_at(text, difficulty_position, saved_difficulty);
    }
    add_missing_entries();
    save_data_file(path, text.to_bytes(), save_format::kScoreNotKept);
}

void Profile::add_missing_entries()
{
    // A position of 0 means the key was not found: writing there would
    // overwrite the file's first character, so the entry is added instead,
    // right after the marker line (or at the start when there is none).
    std::string missing;
    if (visor_position == 0) {
        missing += save_format::entry(save_format::kVisorKey, saved_visor);
    }
    if (difficulty_position == 0) {
        missing += save_format::entry(save_format::kDifficultyKey, saved_difficulty);
    }
    if (missing.empty()) {
        return;
    }
    std::int32_t marker_end = 0;
    std::int32_t index = 0;
    if (find_marker(text, marker_end)) {
        // After the marker's line break; a hand-edited marker without one
        // gets one, so the entries never share the marker's line.
        if (char_at(text, marker_end) == save_format::kMarkerLineEnd) {
            index = marker_end + 1;
        } else {
            index = marker_end;
            missing.insert(missing.begin(), save_format::kMarkerLineEnd);
        }
    }
    insert_at(text, index, missing);
}

void Profile::write_score()
{
    if (!read_file(assets::kSaveFile)) {
        return;
    }
    const bool patch_score = KeyScanner::search(text, save_format::kScoreKey, &score_position);
    if (patch_score) {
        replace_score_digits();
    } else {
        // No score entry yet (such as the fresh two-entry file): add one at
        // the end, where the layout keeps it.
        append_score_entry();
    }

    // The marker line is rebuilt in memory and the whole file replaced at
    // once, so no crash can leave the new score beside the old marker. The
    // old marker line goes, its line break with it; a file whose score
    // entry was just added gets the marker line too.
    std::int32_t marker_end = 0;
    const bool has_marker = find_marker(text, marker_end);
    if (has_marker) {
        const bool line_ends = char_at(text, marker_end) == save_format::kMarkerLineEnd;
        text.remove_front(line_ends ? marker_end + 1 : marker_end);
    }
    if (has_marker || !patch_score) {
        const bool resumable =
            !(score_digits.is_empty() ||
              (score_digits.count() == 1 && score_digits.first_node()->value() == '0'));
        insert_at(text, 0, save_format::marker_line(resumable));
    }
    save_data_file(assets::kSaveFile, text.to_bytes(), save_format::kScoreNotKept);
}

void Profile::replace_score_digits()
{
    // Everything before the old digits is kept; after them only the "]"
    // characters survive, and the new digits go in front of them.
    CharNode* key_end = text.node_at(score_position - 1);
    for (CharNode* kept = key_end; kept->next_node();) {
        if (kept->next_node()->value() == save_format::kEntryEnd) {
            kept = kept->next_node();
        } else {
            kept->remove_next();
        }
    }
    CharNode* node = key_end;
    for (const CharNode* digit = score_digits.first_node(); digit; digit = digit->next_node()) {
        node->insert_after(digit->value());
        node = node->next_node();
    }
}

void Profile::append_score_entry()
{
    score_position = text.count() + static_cast<std::int32_t>(sizeof save_format::kScoreKey - 1);
    text.append_bytes(save_format::kScoreKey);
    text.append_copy(score_digits);
    text.append(save_format::kEntryEnd);
}

std::int32_t Profile::visor_index() const
{
    return digit_index(saved_visor);
}

std::int32_t Profile::difficulty_index() const
{
    return digit_index(saved_difficulty);
}

std::int32_t Profile::score_to_number()
{
    // The digits after the last non-digit make the number; once it passes
    // the 32-bit range it stops growing and saturates.
    long long value = 0;
    bool all_digits = true;
    for (const CharNode* node = score_digits.first_node(); node; node = node->next_node()) {
        if (!is_digit(node->value())) {
            all_digits = false;
            value = 0;
        } else if (value <= INT_MAX) {
            value = value * 10 + (node->value() - '0');
        }
    }
    if (!all_digits) {
        score_digits.assign("0");
    }
    return value > INT_MAX ? INT_MAX : static_cast<std::int32_t>(value);
}

void Profile::set_score_digits(const CharList& list)
{
    if (&list == &score_digits) {
        return;  // the digits set to themselves stay as they are
    }
    score_digits.clear();
    score_digits.append_copy(list);
}
