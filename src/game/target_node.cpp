#include "game/target_node.h"

TargetNode::TargetNode(Sint16 size_class, double speed_bonus)
    : owned(new Target(size_class, speed_bonus))
{
}

TargetNode::~TargetNode()
{
    delete owned;
    delete next;
}

TargetNode* TargetNode::append(Sint16 size_class, double speed_bonus)
{
    if (next) {
        return next->append(size_class, speed_bonus);
    }
    next = new TargetNode(size_class, speed_bonus);
    return next;
}

Uint32 TargetNode::count_from(Uint32 depth) const
{
    return next ? next->count_from(depth + 1) : depth + 1;
}

void TargetNode::update_and_draw_all(SDL_Surface* screen)
{
    owned->update_and_draw(screen);
    if (next) {
        next->update_and_draw_all(screen);
    }
}

void TargetNode::draw_all(SDL_Surface* screen)
{
    for (TargetNode* node = this; node; node = node->next) {
        node->owned->draw(screen);
    }
}

TargetNode* TargetNode::next_or_self()
{
    return next ? next : this;
}
