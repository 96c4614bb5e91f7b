#ifndef TIREVANE_GAME_TARGET_NODE_H
#define TIREVANE_GAME_TARGET_NODE_H

#include <SDL.h>

#include "core/surface.h"
#include "game/target.h"

// A link of the target chain. It owns its target and every node after it:
// deleting a node deletes the rest of the chain.
class TargetNode : NonCopyable {
public:
    TargetNode(Sint16 size_class, double speed_bonus);
    ~TargetNode();

    // Adds a node at the tail of the chain and returns it.
    TargetNode* append(Sint16 size_class, double speed_bonus);
    Uint32 count_from(Uint32 depth) const;
    void update_and_draw_all(SDL_Surface* screen);
    void draw_all(SDL_Surface* screen);
    TargetNode* next_or_self();

    bool hit_test(const SDL_Event& event) const { return owned->hit_test(event); }
    Sint16 points() const { return owned->points(); }
    bool is_alive() const { return owned->is_alive(); }
    void kill() { owned->kill(); }
    bool is_faded_out() const { return owned->current_alpha() == 0; }
    Target& target() { return *owned; }
    const Target& target() const { return *owned; }

private:
    // The list unlinks runs of faded nodes.
    friend class TargetList;

    // Cuts the chain after this node without deleting anything.
    void clear_next() { next = nullptr; }

    Target* owned;
    TargetNode* next = nullptr;
};

#endif
