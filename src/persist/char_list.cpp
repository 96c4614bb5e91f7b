#include "persist/char_list.h"

CharList::~CharList()
{
    clear();
}

CharNode* CharList::last_node() const
{
    CharNode* node = head;
    while (node && node->next) {
        node = node->next;
    }
    return node;
}

void CharList::append(char c)
{
    CharNode* last = last_node();
    if (!last) {
        head = new CharNode(c);
    } else {
        last->insert_after(c);
    }
}

std::int32_t CharList::count() const
{
    std::int32_t n = 0;
    for (const CharNode* node = head; node; node = node->next) {
        ++n;
    }
    return n;
}

CharNode* CharList::node_at(std::int32_t index) const
{
    CharNode* node = head;
    for (std::int32_t i = 0; i < index && node->next; ++i) {
        node = node->next;
    }
    return node;
}

void CharList::clear()
{
    delete head;
    head = nullptr;
}

void CharList::assign(const char* source)
{
    clear();
    append_bytes(source);
}

void CharList::append_bytes(const std::string& bytes)
{
    // One pass with a cursor on the last node rather than a walk per byte.
    CharNode* last = last_node();
    for (char c : bytes) {
        if (!last) {
            head = last = new CharNode(c);
        } else {
            last->insert_after(c);
            last = last->next;
        }
    }
}

void CharList::append_list(CharList& other)
{
    if (!other.head) {
        return;
    }
    CharNode* last = last_node();
    if (!last) {
        head = other.head;
    } else {
        last->next = other.head;
    }
    other.head = nullptr;
}

void CharList::append_copy(const CharList& other)
{
    CharNode* last = last_node();
    for (const CharNode* node = other.head; node; node = node->next) {
        if (!last) {
            head = last = new CharNode(node->ch);
        } else {
            last->insert_after(node->ch);
            last = last->next;
        }
    }
}

void CharList::remove_front(std::int32_t count)
{
    for (; count > 0 && head; --count) {
        CharNode* removed = head;
        head = removed->next;
        removed->next = nullptr;  // a node frees the chain after it
        delete removed;
    }
}

void CharList::append_file(std::FILE* file)
{
    // Keeps its own cursor on the last node so a whole file reads in one
    // pass instead of walking the chain once per byte.
    CharNode* last = last_node();
    for (int c = std::fgetc(file); c != EOF && c != 0xFF; c = std::fgetc(file)) {
        if (!last) {
            head = last = new CharNode(static_cast<char>(c));
        } else {
            last->insert_after(static_cast<char>(c));
            last = last->next;
        }
    }
}

std::string CharList::to_bytes() const
{
    std::string bytes;
    for (const CharNode* node = head; node; node = node->next) {
        bytes.push_back(node->ch);
    }
    return bytes;
}
