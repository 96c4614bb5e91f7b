#ifndef TIREVANE_PERSIST_CHAR_LIST_H
#define TIREVANE_PERSIST_CHAR_LIST_H

#include <cstdint>

#include <cstdio>
#include <string>

#include "core/non_copyable.h"
#include "persist/char_node.h"

// A text as a singly linked chain of bytes: the working form of the save
// file. No tail pointer and no stored length; the list owns its chain.
class CharList : private NonCopyable {
public:
    CharList() = default;
    ~CharList();

    void append(char c);
    std::int32_t count() const;
    // The node at `index`; an index past the end yields the last node.
    // Only for a non-empty list.
    CharNode* node_at(std::int32_t index) const;
    void clear();
    bool is_empty() const { return head == nullptr; }
    // Empties the list, then appends every character of `source`.
    void assign(const char* source);
    // Moves every node of `other` to the end of this list; `other` ends empty.
    void append_list(CharList& other);
    // Appends a copy of every character of another list, which stays as it is.
    void append_copy(const CharList& other);
    // Removes the first `count` characters, or all of them when fewer.
    void remove_front(std::int32_t count);

    // Appends every byte of `bytes` in order, NUL bytes included.
    void append_bytes(const std::string& bytes);
    // Appends the bytes of an open file up to its end or its first 0xFF
    // byte, which is neither stored nor read past.
    void append_file(std::FILE* file);
    // The characters in order, as they are written to a file.
    std::string to_bytes() const;

    CharNode* first_node() const { return head; }

private:
    CharNode* last_node() const;

    CharNode* head = nullptr;
};

#endif
