#include "persist/char_node.h"

CharNode::~CharNode()
{
    // Frees the rest of the chain one node at a time: a save file of any
    // size must not turn into a recursion as deep as its length.
    CharNode* rest = next;
    while (rest) {
        CharNode* after = rest->next;
        rest->next = nullptr;
        delete rest;
        rest = after;
    }
}

void CharNode::insert_after(char c)
{
    CharNode* node = new CharNode(c);
    node->next = next;
    next = node;
}

void CharNode::remove_next()
{
    CharNode* removed = next;
    if (!removed) {
        return;
    }
    next = removed->next;
    removed->next = nullptr;  // a node frees the chain after it
    delete removed;
}
