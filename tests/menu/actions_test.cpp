#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/assets.h"
#include "core/notice.h"
#include "menu/main_actions.h"
#include "menu/menu.h"
#include "menu/menu_action.h"
#include "menu/menu_layouts.h"
#include "menu/options_actions.h"
#include "persist/atomic_file.h"
#include "screen_test.h"

using namespace testsupport;

namespace {

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


// The same, as a script step.
std::function<void()> choose(const MenuLayout& layout, const char* label)
{
    return [&layout, label] { click_item(layout, label); };
}

// Stand-ins for the main menu's entries that only count.
int main_menu_runs[5];
template <int I>
void count_main(SDL_Surface*, Uint8* close)
{
    ++main_menu_runs[I];
    *close = 0;
}

// The main menu's labels and rows with counting actions, except for the
// entries given.
Menu* main_menu(MenuAction comment_jouer, MenuAction options, MenuAction a_propos)
{
    const MenuAction actions[] = {count_main<0>, comment_jouer ? comment_jouer : count_main<1>,
                                  options ? options : count_main<2>,
                                  a_propos ? a_propos : count_main<3>, count_main<4>};
    Menu* menu = new Menu(true);
    int i = 0;
    for (const MenuRow& row : layouts::kMain) {
        menu->add_item(row.label, row.y, actions[i++]);
    }
    return menu;
}

class ActionTest : public ScreenTest {
protected:
    void SetUp() override { std::fill(std::begin(main_menu_runs), std::end(main_menu_runs), 0); }

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
        {"marker False", true,
         "[ ! ] -> False\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=0]", false},
        {"marker True", true,
         "[ ! ] -> True\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=150]", true},
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
    write_file(assets::kConfigFile, "[ \xA7Visor ] -> 3\n[ \xA7" "Difficulte ] -> 1");

    // Resume: the match starts at 150, Escape keeps it; options win over the save.
    write_file(assets::kSaveFile,
               "[ ! ] -> True\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=150]");
    {
        ScreenScript script(clock);
        script.then([] {
            click_item(layouts::kPlayResumable, "Reprendre partie");
            push_key(SDLK_ESCAPE);  // a key: stays queued for the match
        });
        run_action(play_action);
    }
    EXPECT_EQ(save(),
              "[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=1][\xA7saved:GameScore=150]");
    EXPECT_GE(clock.total_delay(), 1500u);

    // New game from the same file: starts at 0, so nothing is left to resume.
    {
        ScreenScript script(clock);
        script.then([] {
            click_item(layouts::kPlayResumable, "Nouvelle partie");
            push_key(SDLK_ESCAPE);
        });
        run_action(play_action);
    }
    EXPECT_EQ(save(),
              "[ ! ] -> False\n[\xA7saved:Visor=3][\xA7saved:Diff=1][\xA7saved:GameScore=0]");
}

TEST_F(ActionTest, MatchRewritesVisorAndDifficultyBeforeItsFirstFrame)
{
    write_file(assets::kConfigFile, "[ \xA7Visor ] -> 5\n[ \xA7" "Difficulte ] -> 2");
    write_file(assets::kSaveFile,
               "[ ! ] -> False\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=0]");
    ScreenScript script(clock);
    script.then([] {
        click_item(layouts::kPlay, "Nouvelle partie");  // left at once
        push_key(SDLK_ESCAPE);
    });
    run_action(play_action);
    EXPECT_EQ(save(),
              "[ ! ] -> False\n[\xA7saved:Visor=5][\xA7saved:Diff=2][\xA7saved:GameScore=0]");
}

TEST_F(ActionTest, OptionChoicesWriteOneByteAndKeepTheOther)
{
    write_file(assets::kConfigFile, "[ \xA7Visor ] -> 0\n[ \xA7" "Difficulte ] -> 1");
    {
        ScreenScript script(clock);
        script.then(choose(layouts::kOptions, "Editer viseur"))
            .then(choose(layouts::kVisors, "Heavy Weapon"));
        run_action(options_action);
    }
    EXPECT_EQ(options(), "[ \xA7Visor ] -> 3\n[ \xA7" "Difficulte ] -> 1");

    {
        ScreenScript script(clock);
        script.then(choose(layouts::kOptions, "Editer difficulte"))
            .then(choose(layouts::kDifficulties, "Insane"));
        run_action(options_action);
    }
    EXPECT_EQ(options(), "[ \xA7Visor ] -> 3\n[ \xA7" "Difficulte ] -> 2");

    std::remove(assets::kConfigFile);
    {
        ScreenScript script(clock);
        // With no options file yet.
        script.then(choose(layouts::kOptions, "Editer viseur"))
            .then(choose(layouts::kVisors, "Sniper"));
        run_action(options_action);
    }
    EXPECT_EQ(options(), "[ \xA7Visor ] -> 5\n[ \xA7" "Difficulte ] -> 0");
}

TEST_F(ActionTest, LeavingAChoiceMenuWritesNothingAndLandsOnTheMainMenu)
{
    const std::string before = "[ \xA7Visor ] -> 2\n[ \xA7" "Difficulte ] -> 1";
    write_file(assets::kConfigFile, before);
    for (const char* edit : {"Editer viseur", "Editer difficulte"}) {
        ScreenScript script(clock);
        script.then(choose(layouts::kOptions, edit)).then([] {
            push_key(SDLK_ESCAPE);  // leaves the choice menu: the options screen closes too
            push_motion(3, 3);      // so this event is left for the main menu
        });
        run_action(options_action);
        SDL_Event left;
        ASSERT_EQ(SDL_PollEvent(&left), 1);
        EXPECT_EQ(left.type, SDL_MOUSEMOTION);
        EXPECT_EQ(left.motion.x, 3);
        drain_events();
    }
    EXPECT_EQ(options(), before);
}

TEST_F(ActionTest, PagesAndClosingActionsWaitBeforeClosing)
{
    {
        ScreenScript script(clock);
        script.then(choose(layouts::kPage, "Retour"));
        run_action(how_to_play_action);
    }
    EXPECT_EQ(clock.total_delay(), 1500u);
    push_quit();  // a window close leaves the page at once
    run_action(about_action);
    EXPECT_EQ(clock.total_delay(), 1500u);

    Uint8 close = 0;
    quit_action(screen(), &close);
    EXPECT_EQ(close, 1);
    EXPECT_EQ(clock.total_delay(), 3000u);
}

TEST_F(ActionTest, DoubleClickOnRetourLandsOnTheMainMenuWithoutChoosing)
{
    // "Retour" (510) lies over "Quitter" (507): the second click of a double
    // click would quit the game from the main menu it leads back to.
    Menu* menu = main_menu(nullptr, nullptr, about_action);
    clock.think_ms = 60;  // the two presses come 120 ms apart
    ScreenScript script(clock);
    script.then(choose(layouts::kMain, "A propos..."))
        .then([] {
            click_item(layouts::kPage, "Retour");  // twice
            click_item(layouts::kPage, "Retour");
            push_key(SDLK_ESCAPE);  // a key: kept for the main menu
        });
    menu->run(screen());

    EXPECT_EQ(script.steps_left(), 0u);
    EXPECT_EQ(main_menu_runs[4], 0) << "the second click chose \"Quitter\"";
    EXPECT_EQ(main_menu_runs[0] + main_menu_runs[1] + main_menu_runs[2], 0);
    EXPECT_EQ(clock.total_delay(), 1500u);
    delete menu;
}

TEST_F(ActionTest, DoubleClickOnEditerDifficulteDoesNotPickInsane)
{
    // "Insane" (360) lies under "Editer difficulte" (390) at y 430.
    const std::string before = "[ \xA7Visor ] -> 1\n[ \xA7" "Difficulte ] -> 0";
    write_file(assets::kConfigFile, before);
    clock.think_ms = 60;  // the two presses come 120 ms apart
    ScreenScript script(clock);
    script.then([] {
        click_item(layouts::kOptions, "Editer difficulte");
        click_item(layouts::kOptions, "Editer difficulte");
        push_key(SDLK_ESCAPE);  // leaves the difficulty menu
    });
    run_action(options_action);

    EXPECT_EQ(script.steps_left(), 0u);
    EXPECT_EQ(options(), before);
    EXPECT_EQ(clock.total_delay(), 0u) << "a choice was made";
}

TEST_F(ActionTest, ClickDuringThePauseAfterAChoiceDoesNotReachTheMainMenu)
{
    write_file(assets::kConfigFile, "[ \xA7Visor ] -> 0\n[ \xA7" "Difficulte ] -> 1");
    Menu* menu = main_menu(nullptr, options_action, nullptr);
    ScreenScript script(clock);
    script.then(choose(layouts::kMain, "Options"))
        .then(choose(layouts::kOptions, "Editer viseur"))
        .then(choose(layouts::kVisors, "Heavy Weapon"));
    // Impatient, the player clicks "Jouer" while the choice lingers, then
    // leaves the main menu.
    clock.on_delay = [](Uint32) {
        click_item(layouts::kMain, "Jouer");
        push_key(SDLK_ESCAPE);
    };
    menu->run(screen());
    clock.on_delay = nullptr;

    EXPECT_EQ(options(), "[ \xA7Visor ] -> 3\n[ \xA7" "Difficulte ] -> 1");
    EXPECT_EQ(main_menu_runs[0], 0) << "the click made during the pause chose \"Jouer\"";
    EXPECT_EQ(script.steps_left(), 0u);
    delete menu;
}

TEST_F(ActionTest, AChoiceThatCannotBeSavedIsToldAtTheFootOfTheMenuThePlayerReturnsTo)
{
    // The disk is full: the visor chosen is not kept, and the main menu the
    // player comes back to says so in one line, for a few seconds, also when
    // the player does nothing meanwhile.
    const std::string before = options();
    set_failed_save_teller(notice::post);  // as the game's start-up does
    atomic_file_seam::set_write_function([](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    const auto notice_pixels = [this] {
        int n = 0;
        for (int y = 560; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                const SDL_Color c = pixel_at(screen(), x, y);
                n += c.r > 200 && c.g > 140 && c.g < 230 && c.b < 80;
            }
        }
        return n;
    };
    int on_return = -1;
    int seconds_later = -1;
    Menu* menu = main_menu(nullptr, options_action, nullptr);
    testing::internal::CaptureStderr();
    {
        ScreenScript script(clock);
        script.then(choose(layouts::kMain, "Options"))
            .then(choose(layouts::kOptions, "Editer viseur"))
            .then(choose(layouts::kVisors, "Heavy Weapon"))
            .then([&] { on_return = notice_pixels(); })  // then nothing: the time runs out
            .then([&] {
                seconds_later = notice_pixels();
                push_key(SDLK_ESCAPE);
            });
        menu->run(screen());
    }
    delete menu;
    atomic_file_seam::set_write_function(nullptr);
    set_failed_save_teller(nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot save 'System/01/config.conf'"), std::string::npos) << said;
    EXPECT_EQ(options(), before);
    EXPECT_GT(on_return, 100) << "no notice at the foot of the main menu";
    EXPECT_EQ(seconds_later, 0) << "the notice outlasted its few seconds";
}
