#include "game/target_list.h"

TargetList::~TargetList()
{
    delete head;
}

void TargetList::append(Sint16 size_class, double speed_bonus)
{
    if (head) {
        head->append(size_class, speed_bonus);
    } else {
        head = new TargetNode(size_class, speed_bonus);
    }
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

bool TargetList::any_faded_out() const
{
    return head ? head->any_faded_out() : false;
}

void TargetList::update_and_draw_all(SDL_Surface* screen)
{
    if (head) {
        head->update_and_draw_all(screen);
    }
}

void TargetList::remove_faded_out()
{
    while (any_faded_out()) {
        remove_first_faded_run();
    }
}

// Unlinks the first run of consecutive faded nodes: cut the chain behind
// the run, delete the run's first node (which deletes the run), relink.
void TargetList::remove_first_faded_run()
{
    const Uint32 total = count();
    Uint32 first = 0;
    while (!node_at(first)->is_faded_out()) {
        ++first;
    }
    TargetNode* before = first > 0 ? node_at(first - 1) : nullptr;
    Uint32 end = first + 1;
    while (end < total && node_at(end)->is_faded_out()) {
        ++end;
    }
    TargetNode* survivor = end < total ? node_at(end) : nullptr;

    TargetNode* run_start = node_at(first);
    node_at(end - 1)->clear_next();
    delete run_start;
    if (before) {
        before->set_next(survivor);
    } else {
        head = survivor;
    }
}

void TargetList::clear()
{
    delete head;
    head = nullptr;
}
