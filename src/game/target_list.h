#ifndef TIREVANE_GAME_TARGET_LIST_H
#define TIREVANE_GAME_TARGET_LIST_H

#include <SDL.h>

#include "core/surface.h"
#include "game/target_node.h"

// Head of the target chain, oldest target first.
class TargetList : NonCopyable {
public:
    TargetList() = default;
    ~TargetList();

    // Adds a target at the tail; its node.
    TargetNode* append(Sint16 size_class, double speed_bonus);
    Uint32 count() const;
    // Walks `index` steps from the head, staying on the tail past the end;
    // nullptr for an empty list.
    TargetNode* node_at(Uint32 index) const;
    void update_and_draw_all(SDL_Surface* screen);
    // Draws every target where it stands, moving none.
    void draw_all(SDL_Surface* screen);
    // Deletes every target that has faded out; the others keep their order.
    void remove_faded_out();
    // Deletes every node and its target.
    void clear();

private:
    TargetNode* head = nullptr;
};

#endif
