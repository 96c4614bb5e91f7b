#ifndef TIREVANE_PERSIST_CHAR_NODE_H
#define TIREVANE_PERSIST_CHAR_NODE_H

#include "core/non_copyable.h"

// One byte of a text held as a chain. A node owns the rest of its chain:
// deleting a node deletes every node after it.
class CharNode : private NonCopyable {
public:
    explicit CharNode(char c) : ch(c) {}
    ~CharNode();

    char value() const { return ch; }
    void set_value(char c) { ch = c; }
    // Links a new node holding `c` directly after this one.
    void insert_after(char c);
    // Unlinks and frees the node directly after this one, if any; the rest
    // of the chain stays linked.
    void remove_next();

    CharNode* next_node() const { return next; }

private:
    friend class CharList;

    char ch;
    CharNode* next = nullptr;
};

#endif
