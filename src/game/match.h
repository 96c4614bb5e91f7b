#ifndef TIREVANE_GAME_MATCH_H
#define TIREVANE_GAME_MATCH_H

#include <SDL.h>

#include "core/surface.h"
#include "game/hud.h"
#include "game/target_list.h"
#include "game/visor.h"

// One timed game: its status bar, its visor, its targets and the frame loop
// that plays it. The caller constructs it, runs it once, hands the score
// over with save_score and destroys it.
class Match : NonCopyable {
public:
    // visor 0-5 and difficulty 0-2 in play; anything else a hand-edited
    // options file can hold is brought back into range here, once.
    Match(Sint16 visor, Sint16 difficulty, Sint32 start_score);
    ~Match() = default;

    // The frame loop; returns when the match is over, with the target list
    // empty and `score` holding the score to hand over.
    void run(SDL_Surface* screen);
    // Composes one frame on the screen surface and flips it.
    void draw_frame(SDL_Surface* screen);
    // Shows the pause overlay and waits into `event` until the game has the
    // keyboard focus and the pointer back, or a close request (left in
    // `event`) leaves the match.
    void pause(SDL_Surface* screen, SDL_Event& event);
    // Shows the final score, resets it to 0 and waits for a key press, a
    // close request, or a left click once it has shown for a second.
    void game_over(SDL_Surface* screen);
    // True when a live target lies under the pointer position of `event`.
    bool pointer_over_live_target(const SDL_Event& at);
    // Writes the score into the save file (defined with the persistence code).
    void save_score();

private:
    friend struct MatchSeam;

    // State of one call of run.
    struct LoopState {
        bool draw_enabled = true;
        bool shot_latched = false;
        Uint32 now_ms = 0;
        Uint32 last_frame_ms = 0;
        Uint32 last_tick_ms = 0;
        Uint32 last_spawn_ms = 0;
        Uint32 spawn_interval_ms = 0;
        Uint32 speed_base_ms = 0;
        double speed_bonus = 0.0;
    };

    // The last frame of play standing still under the pause or game-over
    // texts, shown again whenever the pointer moves, the window system
    // asks for a repaint or the window changes mode.
    struct StillFrame;
    StillFrame freeze(Sint32 shown_score);
    void show(SDL_Surface* screen, const StillFrame& still);
    // Takes the next event for a still screen; false once none can arrive.
    bool wait_still(SDL_Surface* screen, const StillFrame& still, SDL_Event& event);

    void start_loop();
    void run_iteration(SDL_Surface* screen);
    void handle_event(SDL_Surface* screen);
    void end_match(SDL_Surface* screen);
    void shoot(const SDL_Event& shot);
    void step_speed(Uint32 now);
    void step_countdown();
    void spawn(Uint32 now);
    void floor_score();
    void pace(SDL_Surface* screen, Uint32 now);
    void add_to_score(Sint64 amount);
    void add_time_bonus();

    Sint16 difficulty;
    Sint32 score;
    Uint16 seconds_left;
    Uint8 ended = 0;
    Uint8 window_active = 1;
    Hud hud;
    Visor visor;
    TargetList targets;
    // The event handled last; with none waiting it is handled again.
    SDL_Event event;
    LoopState loop;
};

// The one way tests and benchmarks reach into a match, kept small: the
// game never calls it. Each operation stands for something play brings
// about or shows, without waiting for it.
struct MatchSeam {
    // Appends a target of the match's size class (speed bonus 0) at (x, y);
    // it is the newest, drawn over the others.
    static Target& add_target(Match& match, int x, int y);
    // Moves a target at once, as if it had risen there.
    static void place(Target& target, int x, int y);
    static TargetList& targets(Match& match);

    static Sint32 score(const Match& match);
    static Uint16 seconds_left(const Match& match);
    // Keeps a long test from running out of time, or brings the end near.
    static void set_seconds_left(Match& match, Uint16 seconds);
    static bool ended(const Match& match);
    // The event the loop handled last (with motions folded in).
    static const SDL_Event& last_event(const Match& match);
    // Spawn and speed timing, the shot latch: the state of the running loop.
    static const Match::LoopState& loop(const Match& match);
};

#endif
