#include "persist/profile.h"

#include <climits>
#include <string>

#include "core/assets.h"
#include "persist/atomic_file.h"

namespace {

const char kVisorKey[] = "[\xA7saved:Visor=";
const char kDifficultyKey[] = "[\xA7saved:Diff=";
const char kScoreKey[] = "[\xA7saved:GameScore=";
const char kMarkerFalse[] = "[ ! ] -> False";
const char kMarkerTrue[] = "[ ! ] -> True";

std::string entry(const char* key, char value)
{
    std::string bytes(key);
    bytes.push_back(value);
    bytes.push_back(']');
    return bytes;
}

// Position just past the resume marker (False is looked for first).
bool find_marker(const CharList& text, std::int32_t& position)
{
    return KeyScanner::search(text, kMarkerFalse, &position) ||
           KeyScanner::search(text, kMarkerTrue, &position);
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

std::string read_bytes(const char* path, bool& opened)
{
    CharList list;
    std::FILE* file = std::fopen(path, "r");
    opened = file != nullptr;
    if (file) {
        list.append_file(file);
        std::fclose(file);
    }
    return list.to_bytes();
}

}  // namespace

void Profile::load()
{
    // A short options file reads as the byte 0xFF, which counts as 0 anyway;
    // written into the save file it would end that file's text there.
    config_visor = read_visor() && visor() != '\xFF' ? visor() : '0';
    config_difficulty = read_difficulty() && difficulty() != '\xFF' ? difficulty() : '0';
    scanner.find_key(assets::kSaveFile, kVisorKey, &visor_position);
    scanner.find_key(assets::kSaveFile, kDifficultyKey, &difficulty_position);
    // The options file always wins over what the save file stored.
    saved_visor = config_visor;
    saved_difficulty = config_difficulty;
}

void Profile::load_score_digits()
{
    if (!scanner.find_key(assets::kSaveFile, kScoreKey, &score_position)) {
        return;
    }
    bool opened = false;
    const std::string saved = read_bytes(assets::kSaveFile, opened);
    // A missing "]" ends the walk at the end of the text; the characters
    // read up to there still count as the score.
    for (std::string::size_type i = static_cast<std::string::size_type>(score_position);
         i < saved.size() && saved[i] != ']'; ++i) {
        if (saved[i] != ' ') {
            score_digits.append(saved[i]);
        }
    }
}

void Profile::read_text(const char* path)
{
    text.clear();
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        return;
    }
    text.append_file(file);
    std::fclose(file);
}

void Profile::write_visor_difficulty(const char* path)
{
    read_text(path);
    if (text.is_empty()) {
        save_data_file(path,
                       entry(kVisorKey, saved_visor) + entry(kDifficultyKey, saved_difficulty));
        return;
    }
    if (visor_position > 0) {
        set_value_at(text, visor_position, saved_visor);
    }
    if (difficulty_position > 0) {
        set_value_at(text, difficulty_position, saved_difficulty);
    }
    add_missing_entries();
    write_list(text, path);
}

void Profile::add_missing_entries()
{
    // A position of 0 means the key was not found: writing there would
    // overwrite the file's first character, so the entry is added instead,
    // right after the marker line (or at the start when there is none).
    std::string missing;
    if (visor_position == 0) {
        missing += entry(kVisorKey, saved_visor);
    }
    if (difficulty_position == 0) {
        missing += entry(kDifficultyKey, saved_difficulty);
    }
    if (missing.empty()) {
        return;
    }
    std::int32_t marker_end = 0;
    std::int32_t index = 0;
    if (find_marker(text, marker_end)) {
        // After the marker's line break; a hand-edited marker without one
        // gets one, so the entries never share the marker's line.
        if (char_at(text, marker_end) == '\n') {
            index = marker_end + 1;
        } else {
            index = marker_end;
            missing.insert(missing.begin(), '\n');
        }
    }
    insert_at(text, index, missing);
}

void Profile::write_score()
{
    const bool has_score_key = scanner.find_key(assets::kSaveFile, kScoreKey, &score_position);
    text.clear();
    bool opened = false;
    const std::string saved = read_bytes(assets::kSaveFile, opened);
    if (!opened) {
        return;
    }
    // Everything before the old digits is kept; after them only the "]"
    // characters survive, and the new digits go in front of them.
    const bool patch_score = has_score_key && !saved.empty();
    if (patch_score) {
        keep_text_before_score(saved);
        insert_score_digits();
    } else {
        // No score entry yet (such as the fresh two-entry file): add one at
        // the end, where the layout keeps it.
        text.append_bytes(saved);
        append_score_entry();
    }

    const bool resumable =
        !(score_digits.is_empty() ||
          (score_digits.count() == 1 && score_digits.first_node()->value() == '0'));
    const char* marker_line = resumable ? "[ ! ] -> True\n" : "[ ! ] -> False\n";

    // The marker line is rebuilt in memory and the whole file replaced at
    // once, so no crash can leave the new score beside the old marker.
    const std::string all = text.to_bytes();
    std::int32_t marker_end = 0;
    const bool has_marker = find_marker(text, marker_end);
    CharList rewritten;
    if (has_marker || !patch_score) {
        // The old marker line goes, its line break with it; a file whose
        // score entry was just added gets the marker line too.
        std::string::size_type rest = 0;
        if (has_marker) {
            rest = static_cast<std::string::size_type>(marker_end);
            if (rest < all.size() && all[rest] == '\n') {
                ++rest;
            }
        }
        rewritten.assign(marker_line);
        CharList tail;
        tail.append_bytes(all.substr(rest));
        rewritten.append_list(tail);
    } else {
        rewritten.append_bytes(all);
    }
    write_list(rewritten, assets::kSaveFile);
}

void Profile::keep_text_before_score(const std::string& saved)
{
    std::string kept;
    for (std::string::size_type i = 0; i < saved.size(); ++i) {
        if (i < static_cast<std::string::size_type>(score_position) || saved[i] == ']') {
            kept.push_back(saved[i]);
        }
    }
    text.append_bytes(kept);
}

void Profile::insert_score_digits()
{
    CharNode* node = text.node_at(score_position - 1);
    for (const CharNode* digit = score_digits.first_node(); digit; digit = digit->next_node()) {
        node->insert_after(digit->value());
        node = node->next_node();
    }
}

void Profile::append_score_entry()
{
    std::string bytes(kScoreKey);
    bytes += score_digits.to_bytes();
    bytes.push_back(']');
    score_position = text.count() + static_cast<std::int32_t>(sizeof kScoreKey - 1);
    text.append_bytes(bytes);
}

void Profile::write_list(const CharList& list, const char* path)
{
    save_data_file(path, list.to_bytes());
}

namespace {

std::int32_t digit_index(char c)
{
    const signed char value = static_cast<signed char>(c);
    return value >= '0' && value <= '9' ? value - '0' : 0;
}

}  // namespace

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
    // Walks from the last digit to the first. Place values stop growing
    // past the 32-bit range, and any non-zero digit there saturates.
    const std::string digits = score_digits.to_bytes();
    const long long limit = INT_MAX;
    long long value = 0;
    long long place = 1;
    bool saturated = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it < '0' || *it > '9') {
            score_digits.assign("0");
            break;
        }
        const long long digit = *it - '0';
        if (digit != 0) {
            if (place > limit || value + digit * place > limit) {
                saturated = true;
            } else {
                value += digit * place;
            }
        }
        if (place <= limit) {
            place *= 10;
        }
    }
    return saturated ? INT_MAX : static_cast<std::int32_t>(value);
}

void Profile::set_score_digits(const CharList& list)
{
    const std::string bytes = list.to_bytes();
    score_digits.clear();
    score_digits.append_bytes(bytes);
}
