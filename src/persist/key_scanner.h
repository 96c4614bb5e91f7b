#ifndef TIREVANE_PERSIST_KEY_SCANNER_H
#define TIREVANE_PERSIST_KEY_SCANNER_H

#include <cstdint>

#include <cstdio>

#include "core/non_copyable.h"
#include "persist/char_list.h"

// Finds the position just past a key in a text file.
class KeyScanner : private NonCopyable {
public:
    KeyScanner() = default;
    ~KeyScanner() = default;

    // Reads the file at `path` into `text` and looks for the earliest
    // occurrence of `key`. When found, stores the position just past it in
    // `position_out` (when given) and returns true; otherwise leaves
    // `position_out` alone. A file that cannot be opened leaves `text` too.
    bool find_key(const char* path, const char* key, std::int32_t* position_out = nullptr);

    // The same search over a text already in memory.
    static bool search(const CharList& text, const char* key, std::int32_t* position_out);

private:
    CharList text;
    std::FILE* file = nullptr;
};

#endif
