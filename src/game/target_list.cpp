#include "game/target_list.h"

TargetList::~TargetList()
{
    delete head;
}

TargetNode* TargetList::append(Sint16 size_class, double speed_bonus)
{
    if (head) {
        return head->append(size_class, speed_bonus);
    }
    head = new TargetNode(size_class, speed_bonus);
    return head;
}

Uint32 TargetList::count() const
{
    return head ? head->count_from(0) : 0;
}

TargetNode* TargetList::node_at(Uint32 index) const
{
    TargetNode* node = head;
    for (Uint32 i = 0; node && i < index; ++i) {
        TargetNode* following = node->next_or_self();
        if (following == node) {
            break;  // stays on the tail
        }
        node = following;
    }
    return node;
}

void TargetList::update_and_draw_all(SDL_Surface* screen)
{
    if (head) {
        head->update_and_draw_all(screen);
    }
}

void TargetList::draw_all(SDL_Surface* screen)
{
    if (head) {
        head->draw_all(screen);
    }
}

// One walk down the chain, `link` being the pointer to the node looked at.
// Each run of consecutive faded nodes is cut off behind its last node and
// deleted through its first (which deletes the run), and the link skips it.
void TargetList::remove_faded_out()
{
    TargetNode** link = &head;
    while (TargetNode* node = *link) {
        if (!node->is_faded_out()) {
            link = &node->next;
            continue;
        }
        TargetNode* last = node;
        while (last->next && last->next->is_faded_out()) {
            last = last->next;
        }
        *link = last->next;
        last->clear_next();
        delete node;
    }
}

void TargetList::clear()
{
    delete head;
    head = nullptr;
}
