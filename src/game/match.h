#ifndef TIREVANE_GAME_MATCH_H
#define TIREVANE_GAME_MATCH_H

#include <SDL.h>

#include "audio/fsound.h"
#include "core/surface.h"
#include "game/target_list.h"

// One timed game: its status bar, its visor, its targets and the frame loop
// that plays it. The caller constructs it, runs it once, hands the score
// over with save_score and destroys it.
class Match : NonCopyable {
public:
    // visor 0-5 and difficulty 0-2 in play; anything else a hand-edited
    // options file can hold is brought back into range here, once.
    Match(Sint16 visor, Sint16 difficulty, Sint32 start_score);
    ~Match();

    // The frame loop; returns when the match is over, with the target list
    // empty and `score` holding the score to hand over.
    void run(SDL_Surface* screen);
    // Composes one frame on the screen surface and flips it.
    void draw_frame(SDL_Surface* screen);
    // Shows the pause overlay and waits into `event` for a focus gain.
    void pause(SDL_Surface* screen, SDL_Event& event);
    // Shows the final score, resets it to 0 and waits for a key press.
    void game_over(SDL_Surface* screen);
    // True when a live target lies under the pointer position of `event`.
    bool pointer_over_live_target(const SDL_Event& at);
    // Writes the score into the save file (defined with the persistence code).
    void save_score();

private:
    friend struct MatchProbe;

    // State of one call of run.
    struct LoopState {
        bool draw_enabled = true;
        bool shot_latched = false;
        Uint32 last_frame_ms = 0;
        Uint32 last_spawn_ms = 0;
        Uint32 spawn_interval_ms = 0;
        Uint32 speed_base_ms = 0;
        double speed_bonus = 0.0;
    };

    void create_status_bar();
    void render_hud_texts();
    void load_visor(Sint16 visor);
    void render_score_text();
    void render_countdown_text(int point_size);

    void start_loop();
    void run_iteration(SDL_Surface* screen);
    void absorb_queued_motion();
    void handle_event(SDL_Surface* screen);
    void end_match(SDL_Surface* screen);
    void move_visor(Uint16 x, Uint16 y);
    void shoot(const SDL_Event& shot);
    void step_speed(Uint32 now);
    void step_countdown();
    void spawn(Uint32 now);
    void remove_faded_targets();
    void remove_first_faded_run();
    void floor_score();
    void pace(SDL_Surface* screen, Uint32 now);
    void add_to_score(Sint64 amount);
    void add_time_bonus();

    SDL_Event event;
    Uint8 ended;
    Uint8 visor_idle;
    Uint32 now_ms;
    Uint32 last_tick_ms;
    SurfacePtr white_line;
    SurfacePtr bar;
    SurfacePtr red_line;
    SurfacePtr score_text;
    SurfacePtr difficulty_text;
    SurfacePtr visor_normal;
    SurfacePtr visor_over;
    SurfacePtr countdown_text;
    SDL_Rect bar_pos;
    SDL_Rect red_line_pos;
    SDL_Rect score_pos;
    SDL_Rect difficulty_pos;
    SDL_Rect visor_pos;
    SDL_Rect countdown_pos;
    FSOUND_SAMPLE* hit_sound = nullptr;
    FSOUND_SAMPLE* miss_sound = nullptr;
    Sint16 difficulty;
    Sint32 score;
    Sint32 shown_score;
    TargetList targets;
    Uint8 window_active;
    Uint8 countdown_dirty;
    Uint16 seconds_left;

    // Events without a position (keys, activation, quit, none yet) must not
    // move the aim, so the visor test uses the last position seen.
    SDL_Event pointer;
    LoopState loop;
};

#endif
