// A whole session played in-process as a player would: the intro, the main
// menu, the options, two matches (one left with Escape after hitting
// targets, one resumed, paused and played until game over) and "Quitter".
// Besides checking the saved files, it is the run that the memory checker
// watches in the test command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/assets.h"
#include "audio/fsound.h"
#include "app/game_main.h"
#include "core/input.h"
#include "menu/menu_layouts.h"
#include "game/target_palette.h"
#include "test_support.h"

using namespace testsupport;

namespace {

// Where a label whose top edge is at `y` can be clicked.

bool is_target_colour(SDL_Color c)
{
    for (const SDL_Color& t : kTargetColours) {
        if (c.r == t.r && c.g == t.g && c.b == t.b) {
            return true;
        }
    }
    return false;
}

// A pixel of a live, unfaded target in the last drawn frame, away from the
// visor; targets fade as soon as they are hit, so their exact colour means
// they can still be hit.
bool find_live_target(SDL_Surface* screen, int pointer_x, int pointer_y, int& x, int& y)
{
    for (int row = 540; row > 100; row -= 4) {
        for (int col = 2; col < 798; col += 4) {
            if (std::abs(col - pointer_x) < 40 && std::abs(row - pointer_y) < 40) {
                continue;
            }
            if (is_target_colour(pixel_at(screen, col, row))) {
                x = col;
                y = row;
                return true;
            }
        }
    }
    return false;
}

std::string options_bytes(char visor, char difficulty)
{
    return std::string("[ \xA7Visor ] -> ") + visor + "\n[ \xA7" + "Difficulte ] -> " + difficulty;
}

class GameSession : public ::testing::Test {
protected:
    GameSession()
    {
        FSOUND_Init(44100, 32, 0);
        clock.when_idle = [this] { on_idle(); };
    }
    ~GameSession() override { FSOUND_Close(); }

    // Called at every wait of the game: the 1500 ms pauses after a choice
    // end a match or a menu's business, the shorter ones play the match.
    void on_wait(Uint32 now)
    {
        const Uint64 waited = clock.total_delay() - slept;
        slept = clock.total_delay();
        if (waited >= 1500) {
            ++pauses;
            match = 0;
        } else {
            play_match(now);
        }
    }

    // The player's next move, whenever a screen waits with nothing queued:
    // one click a menu, in the order a player makes them. During a match only
    // the game-over screen waits, for a key.
    void on_idle()
    {
        clock.advance(1000);  // the player looks first
        if (match != 0) {
            push_key(SDLK_a);
            return;
        }
        ++screens;
        switch (screens) {
        case 1:  // the main menu, after the slide-in
            click_item(layouts::kMain, "Options");
            break;
        case 2:
            click_item(layouts::kOptions, "Editer viseur");
            break;
        case 3:
            click_item(layouts::kVisors, "Heavy Weapon");
            break;
        case 4:  // the main menu after the choice: play a new game
            options_after_visor = read_file(assets::kConfigFile);
            click_item(layouts::kMain, "Jouer");
            break;
        case 5:
            click_item(layouts::kPlay, "Nouvelle partie");
            start_match(1);
            break;
        case 6:  // first match left with Escape: make it Insane
            save_after_escape = read_file(assets::kSaveFile);
            click_item(layouts::kMain, "Options");
            break;
        case 7:
            click_item(layouts::kOptions, "Editer difficulte");
            break;
        case 8:
            click_item(layouts::kDifficulties, "Insane");
            break;
        case 9:  // resume the saved match
            options_after_difficulty = read_file(assets::kConfigFile);
            click_item(layouts::kMain, "Jouer");
            break;
        case 10:
            click_item(layouts::kPlayResumable, "Reprendre partie");
            start_match(2);
            break;
        case 11:  // after the game over: leave
            save_after_game_over = read_file(assets::kSaveFile);
            click_item(layouts::kMain, "Quitter");
            break;
        default:
            break;
        }
    }

    void start_match(int which)
    {
        match = which;
        match_start = clock.now();
        next_shot = match_start + input::kSettleMs;
    }

    void play_match(Uint32 now)
    {
        if (match == 1) {
            shoot_targets(now);
            if (now - match_start > 2500 && !escaped) {
                escaped = true;
                push_key(SDLK_ESCAPE);
            }
        } else if (match == 2) {
            if (now - match_start > 1000 && !paused) {
                paused = true;
                // Another window takes the keyboard: paused until it is back.
                push_active(0, SDL_APPINPUTFOCUS);
                push_key(SDLK_a);
                push_click(400, 300);
                push_active(1, SDL_APPINPUTFOCUS);
            }
            // A few more hits, then the countdown runs out.
            if (now - match_start < 4000) {
                shoot_targets(now);
            }
        }
    }

    void shoot_targets(Uint32 now)
    {
        if (now < next_shot) {
            return;
        }
        next_shot = now + 300;
        int x = 0;
        int y = 0;
        if (find_live_target(video.screen(), pointer_x, pointer_y, x, y)) {
            pointer_x = x;
            pointer_y = y;
            push_motion(x, y);
            push_click(x, y);
            ++shots;
        }
    }

    GameDir dir;
    VideoSession video;
    FakeClock clock;

    int screens = 0;
    int pauses = 0;
    int match = 0;
    Uint64 slept = 0;
    Uint32 match_start = 0;
    Uint32 next_shot = 0;
    bool escaped = false;
    bool paused = false;
    int shots = 0;
    int pointer_x = 400;
    int pointer_y = 300;
    std::string options_after_visor;
    std::string options_after_difficulty;
    std::string save_after_escape;
    std::string save_after_game_over;
};

}  // namespace

TEST_F(GameSession, OptionsMatchesAndSavesFromIntroToQuit)
{
    std::srand(1234);
    clock.on_delay = [this](Uint32 now) { on_wait(now); };

    push_key(SDLK_SPACE);  // skip the intro
    run_game(video.screen());

    EXPECT_EQ(screens, 11);
    EXPECT_EQ(pauses, 5);
    EXPECT_EQ(options_after_visor, options_bytes('3', '0'));
    EXPECT_EQ(options_after_difficulty, options_bytes('3', '2'));
    EXPECT_GT(shots, 0);

    // Left with Escape after hitting targets: resumable, score kept.
    const std::string kept = "[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=0][\xA7saved:GameScore=";
    ASSERT_EQ(save_after_escape.compare(0, kept.size(), kept), 0) << save_after_escape;
    const std::string digits = save_after_escape.substr(kept.size());
    EXPECT_GT(std::atoi(digits.c_str()), 0) << save_after_escape;

    // Resumed, paused, played out: game over resets the score.
    EXPECT_EQ(save_after_game_over,
              "[ ! ] -> False\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=0]");
}
