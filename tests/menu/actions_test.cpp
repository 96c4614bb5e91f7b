#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/assets.h"
#include "menu/main_actions.h"
#include "menu/menu_action.h"
#include "menu/options_actions.h"
#include "menu_fixture.h"

using namespace testsupport;

namespace {

const std::string kSection = "\xA7";

std::string options_file(char visor, char difficulty)
{
    return "[ " + kSection + "Visor ] -> " + visor + "\n[ " + kSection + "Difficulte ] -> " + difficulty;
}

std::string save_file(bool resumable, char visor, char difficulty, const std::string& score)
{
    return std::string(resumable ? "[ ! ] -> True\n" : "[ ! ] -> False\n") + "[" + kSection +
           "saved:Visor=" + visor + "][" + kSection + "saved:Diff=" + difficulty + "][" +
           kSection + "saved:GameScore=" + score + "]";
}

// Green label pixels in the band of rows a label standing at `y` covers.
int green_in_band(SDL_Surface* screen, int y)
{
    int n = 0;
    for (int row = y + 10; row < y + 60 && row < 600; row += 2) {
        for (int x = 0; x < 800; x += 2) {
            const SDL_Color c = pixel_at(screen, x, row);
            n += c.g > 200 && c.r < 60 && c.b < 60;
        }
    }
    return n;
}

// A press and release on the label whose top edge is at `y`.
void click_row(int y)
{
    push_click(400, y + 40);
}

class ActionTest : public ScreenTest {
protected:
    std::string save() const { return read_file(assets::kSaveFile); }
    std::string options() const { return read_file(assets::kConfigFile); }

    void run_action(MenuAction action)
    {
        Uint8 close = 7;
        action(screen(), &close);
        EXPECT_EQ(close, 0);  // the main menu always stays open
    }
};

}  // namespace

TEST_F(ActionTest, PlayMenuOffersResumeOnlyWhenTheMarkerSaysTrue)
{
    struct Case {
        const char* what;
        bool write;
        std::string content;
        bool resumable;
    };
    const Case cases[] = {
        {"no save file", false, "", false},
        {"marker False", true, save_file(false, '0', '0', "0"), false},
        {"marker True", true, save_file(true, '0', '0', "150"), true},
        {"True anywhere in the text", true, "junk [ ! ] -> True junk", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(assets::kSaveFile);
        if (c.write) {
            write_file(assets::kSaveFile, c.content);
        }
        const std::string before = c.write ? save() : "";
        SDL_FillRect(screen(), nullptr, 0);
        push_motion(799, 0);
        push_key(SDLK_ESCAPE);  // leaves the play menu without playing
        run_action(play_action);

        if (c.resumable) {
            EXPECT_GT(green_in_band(screen(), 120), 200);
            EXPECT_GT(green_in_band(screen(), 390), 200);
            EXPECT_EQ(green_in_band(screen(), 255), 0);
        } else {
            EXPECT_GT(green_in_band(screen(), 255), 200);
            EXPECT_EQ(green_in_band(screen(), 120), 0);
            EXPECT_EQ(green_in_band(screen(), 390), 0);
        }
        EXPECT_EQ(save(), before) << "Escape in the play menu wrote the save file";
    }
}

TEST_F(ActionTest, NewGameStartsAtZeroAndResumeAtTheSavedScore)
{
    write_file(assets::kConfigFile, options_file('3', '1'));

    // Resume: the match starts at 150, Escape keeps it; options win over the save.
    write_file(assets::kSaveFile, save_file(true, '0', '0', "150"));
    click_row(120);  // "Reprendre partie"
    push_key(SDLK_ESCAPE);
    run_action(play_action);
    EXPECT_EQ(save(), save_file(true, '3', '1', "150"));
    EXPECT_GE(clock.total_delay(), 1500u);

    // New game from the same file: starts at 0, so nothing is left to resume.
    click_row(390);  // "Nouvelle partie"
    push_key(SDLK_ESCAPE);
    run_action(play_action);
    EXPECT_EQ(save(), save_file(false, '3', '1', "0"));
}

TEST_F(ActionTest, MatchRewritesVisorAndDifficultyBeforeItsFirstFrame)
{
    write_file(assets::kConfigFile, options_file('5', '2'));
    write_file(assets::kSaveFile, save_file(false, '0', '0', "0"));
    click_row(255);  // "Nouvelle partie", left at once
    push_key(SDLK_ESCAPE);
    run_action(play_action);
    EXPECT_EQ(save(), save_file(false, '5', '2', "0"));
}

TEST_F(ActionTest, OptionChoicesWriteOneByteAndKeepTheOther)
{
    write_file(assets::kConfigFile, options_file('0', '1'));
    click_row(120);  // "Editer viseur"
    click_row(300);  // "Heavy Weapon"
    run_action(options_action);
    EXPECT_EQ(options(), options_file('3', '1'));

    click_row(390);  // "Editer difficulte"
    click_row(360);  // "Insane"
    run_action(options_action);
    EXPECT_EQ(options(), options_file('3', '2'));

    std::remove(assets::kConfigFile);
    click_row(120);
    click_row(500);  // "Sniper", with no options file yet
    run_action(options_action);
    EXPECT_EQ(options(), options_file('5', '0'));
}

TEST_F(ActionTest, LeavingAChoiceMenuWritesNothingAndLandsOnTheMainMenu)
{
    const std::string before = options_file('2', '1');
    write_file(assets::kConfigFile, before);
    for (int row : {120, 390}) {
        click_row(row);
        push_key(SDLK_ESCAPE);  // leaves the choice menu: the options screen closes too
        push_motion(3, 3);      // so this event is left for the main menu
        run_action(options_action);
        SDL_Event left;
        ASSERT_EQ(SDL_PollEvent(&left), 1);
        EXPECT_EQ(left.type, SDL_MOUSEMOTION);
        drain_events();
    }
    EXPECT_EQ(options(), before);
}

TEST_F(ActionTest, PagesAndClosingActionsWaitBeforeClosing)
{
    push_click(400, 550);  // "Retour"
    run_action(how_to_play_action);
    EXPECT_EQ(clock.total_delay(), 1500u);
    push_quit();  // a window close leaves the page at once
    run_action(about_action);
    EXPECT_EQ(clock.total_delay(), 1500u);

    Uint8 close = 0;
    quit_action(screen(), &close);
    EXPECT_EQ(close, 1);
    EXPECT_EQ(clock.total_delay(), 3000u);
}
