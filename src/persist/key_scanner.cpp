#include "persist/key_scanner.h"

#include <cstring>

namespace {

// True when `key` matches the text starting at `start`, byte for byte.
bool matches_at(const CharNode* start, const char* key)
{
    const CharNode* node = start;
    for (const char* k = key; *k; ++k) {
        if (!node || node->value() != *k) {
            return false;
        }
        node = node->next_node();
    }
    return true;
}

}  // namespace

bool KeyScanner::find_key(const char* path, const char* key, std::int32_t* position_out)
{
    file = std::fopen(path, "r");
    if (!file) {
        return false;
    }
    text.clear();
    text.append_file(file);
    std::fclose(file);
    file = nullptr;
    return search(text, key, position_out);
}

bool KeyScanner::search(const CharList& text, const char* key, std::int32_t* position_out)
{
    // Every start position is tried in turn, so a key that begins inside a
    // partial match ("ab" in "aab") is still found.
    std::int32_t start = 0;
    for (const CharNode* node = text.first_node(); node; node = node->next_node(), ++start) {
        if (matches_at(node, key)) {
            if (position_out) {
                *position_out = start + static_cast<std::int32_t>(std::strlen(key));
            }
            return true;
        }
    }
    return false;
}
