#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/assets.h"
#include "core/surface.h"
#include "menu/item_label.h"
#include "menu/menu.h"
#include "menu/menu_item.h"
#include "menu/menu_layouts.h"
#include "menu/page.h"
#include "listener.h"
#include "screen_test.h"

using namespace testsupport;

namespace {

int actions_run = 0;
void keep_open(SDL_Surface*, Uint8* close)
{
    ++actions_run;
    *close = 0;
}
void close_menu(SDL_Surface*, Uint8* close)
{
    ++actions_run;
    *close = 1;
}

// An action that opens a nested menu, counting how often it comes back.
int nested_returns = 0;
void open_nested(SDL_Surface* screen, Uint8* close)
{
    Menu* inner = new Menu(false);
    inner->add_item("Interne", 255, keep_open);
    inner->run(screen);
    delete inner;
    ++nested_returns;
    *close = 0;
}

// The main menu's labels and rows, every item running `action`.
Menu* five_item_menu(bool with_title, MenuAction action = keep_open)
{
    Menu* menu = new Menu(with_title);
    for (const MenuRow& row : layouts::kMain) {
        menu->add_item(row.label, row.y, action);
    }
    return menu;
}

// Where a player clicks an item of the main menu: on its text.
struct Centre {
    int x;
    int y;
};
Centre main_item(int index)
{
    return {400, layouts::kMain.rows[index].y + 40};
}

// Green label pixels in the band of rows a label standing at `y` covers.
int green_in_band(SDL_Surface* screen, int y)
{
    int n = 0;
    for (int row = y + 10; row < y + 60; row += 2) {
        for (int x = 0; x < 800; x += 2) {
            const SDL_Color c = pixel_at(screen, x, row);
            n += c.g > 200 && c.r < 60 && c.b < 60;
        }
    }
    return n;
}

// The first row holding red title pixels, or -1.
int first_red_row(SDL_Surface* screen)
{
    for (int y = 0; y < 600; ++y) {
        for (int x = 200; x < 600; x += 2) {
            const SDL_Color c = pixel_at(screen, x, y);
            if (c.r > 200 && c.g < 60 && c.b < 60) {
                return y;
            }
        }
    }
    return -1;
}

// Counting actions, one per row of a screen, for telling which item ran.
int runs_of[6];
template <int I>
void count_run(SDL_Surface*, Uint8* close)
{
    ++runs_of[I];
    *close = 0;
}
const MenuAction kCounters[] = {count_run<0>, count_run<1>, count_run<2>,
                                count_run<3>, count_run<4>, count_run<5>};

// Every menu the game shows, built from its own layout.
struct Screen {
    const char* name;
    const MenuLayout& layout;
    bool with_title;
    const char* page;  // picture behind the items, or nullptr
};

const Screen kScreens[] = {
    {"main menu", layouts::kMain, true, nullptr},
    {"play menu", layouts::kPlay, false, nullptr},
    {"play menu with resume", layouts::kPlayResumable, false, nullptr},
    {"options", layouts::kOptions, false, nullptr},
    {"visor", layouts::kVisors, false, nullptr},
    {"difficulty", layouts::kDifficulties, false, nullptr},
    {"how to play", layouts::kPage, false, assets::kHowToPlayPage},
    {"about", layouts::kPage, false, assets::kAboutPage},
};

SDL_Event left_press(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

// Whether every pixel of a keyed picture centred on (x, y) stands on the
// screen, its yellow key left out.
bool picture_shown_at(SDL_Surface* picture, SDL_Surface* screen, int x, int y)
{
    const int left = x - picture->w / 2;
    const int top = y - picture->h / 2;
    for (int py = 0; py < picture->h; ++py) {
        for (int px = 0; px < picture->w; ++px) {
            const SDL_Color own = pixel_at(picture, px, py);
            if (same_colour(own, kColourKey, 0)) {
                continue;
            }
            if (!same_colour(pixel_at(screen, left + px, top + py), own)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<Uint8> screen_bytes(SDL_Surface* surface)
{
    SDL_LockSurface(surface);
    const Uint8* pixels = static_cast<const Uint8*>(surface->pixels);
    std::vector<Uint8> bytes(pixels, pixels + surface->pitch * surface->h);
    SDL_UnlockSurface(surface);
    return bytes;
}

class MenuTest : public ScreenTest {
protected:
    void SetUp() override
    {
        actions_run = 0;
        nested_returns = 0;
        std::memset(runs_of, 0, sizeof runs_of);
    }

    // In place of the null device: what the menus play is heard on demand.
    Listener listener;
};

}  // namespace

TEST_F(MenuTest, ItemListKeepsAppendOrderAndBoundsItsIndex)
{
    MenuItemList list;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.item_at(0), nullptr);
    list.draw_all(screen());  // nothing to draw, must not crash

    for (const MenuRow& row : layouts::kMain) {
        list.append(row.label, row.y, keep_open);
    }
    EXPECT_EQ(list.count(), 5);
    // In append order: the first item stands on "Jouer"'s row, the last on "Quitter"'s.
    EXPECT_TRUE(list.item_at(0)->hit_test(left_press(400, 111)));
    EXPECT_FALSE(list.item_at(0)->hit_test(left_press(400, 110)));
    EXPECT_TRUE(list.item_at(4)->hit_test(left_press(400, 507)));
    EXPECT_FALSE(list.item_at(4)->hit_test(left_press(400, 506)));
    EXPECT_EQ(list.item_at(4)->next_item(), nullptr);
    EXPECT_EQ(list.item_at(5), nullptr);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(MenuTest, LabelIsCentredAndItsEdgesAreInclusive)
{
    // "Options" renders 281 x 106 px: centred, its box spans 260..541 x 309..415.
    ItemLabel label("Options", 309);
    const SDL_Rect pos = rect_at(260, 309);
    const int w = 281;
    const int h = 106;

    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    auto at = [&](int x, int y) {
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        return e;
    };
    EXPECT_TRUE(label.click_test(at(pos.x, pos.y)));
    EXPECT_TRUE(label.click_test(at(pos.x + w, pos.y + h)));
    EXPECT_FALSE(label.hit_test(at(pos.x + w + 1, pos.y)));
    EXPECT_FALSE(label.hit_test(at(pos.x, pos.y + h + 1)));
    EXPECT_FALSE(label.hit_test(at(pos.x - 1, pos.y)));

    // Other buttons, releases and motion hit but never click.
    SDL_Event other = at(pos.x + 1, pos.y + 1);
    other.button.button = SDL_BUTTON_RIGHT;
    EXPECT_TRUE(label.hit_test(other));
    EXPECT_FALSE(label.click_test(other));
    other.button.button = SDL_BUTTON_LEFT;
    other.type = SDL_MOUSEBUTTONUP;
    EXPECT_FALSE(label.click_test(other));
    other.type = SDL_MOUSEMOTION;
    EXPECT_FALSE(label.click_test(other));
}

TEST_F(MenuTest, LabelWiderThanTheScreenKeepsItsPlaceFromFrameToFrame)
{
    // 1,718 px wide: it starts 459 px left of the screen.
    ItemLabel label("Comment jouer Comment jouer Comment jouer", 250);
    std::vector<Uint8> frames[2];
    for (std::vector<Uint8>& frame : frames) {
        SDL_FillRect(screen(), nullptr, 0);
        label.draw(screen());
        frame = screen_bytes(screen());
    }
    EXPECT_GT(green_in_band(screen(), 250), 200) << "the label drew nothing";
    EXPECT_TRUE(frames[0] == frames[1]) << "the second frame drew the label elsewhere";
    EXPECT_TRUE(label.hit_test(left_press(0, 300)));
    EXPECT_TRUE(label.hit_test(left_press(799, 300)));
}

TEST_F(MenuTest, SlideInRaisesTheTitleFromTheCentreAndRevealsTheItemsOneByOne)
{
    Menu* menu = five_item_menu(true);
    // The title starts centred (top at 247) and rises a row a frame to 11;
    // item k comes in the frame that draws the title at row 36 - 5k.
    int frames = 0;
    int first_title_row = -1;
    std::vector<int> item_comes_at(5, 0);
    clock.on_delay = [&](Uint32) {  // after each flip
        if (++frames == 1) {
            first_title_row = first_red_row(screen());
        }
        for (int k = 0; k < 5; ++k) {
            if (item_comes_at[k] == 0 && green_in_band(screen(), layouts::kMain.rows[k].y) > 100) {
                item_comes_at[k] = frames;
            }
        }
    };
    menu->slide_in(screen());
    clock.on_delay = nullptr;
    EXPECT_EQ(frames, 237);
    EXPECT_EQ(item_comes_at, (std::vector<int>{212, 217, 222, 227, 232}));
    EXPECT_EQ(first_title_row - first_red_row(screen()), 247 - 11);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 0);
    delete menu;
}

TEST_F(MenuTest, SlideInRunsAtSixtyFramesASecond)
{
    Menu* menu = five_item_menu(true);
    menu->slide_in(screen());
    // 237 frames; flips return at once here: the slide-in waits out each 1/60 s itself.
    const double per_frame = static_cast<double>(clock.total_delay()) / 237;
    EXPECT_GE(per_frame, 16.5);
    EXPECT_LE(per_frame, 16.7);
    delete menu;
}

TEST_F(MenuTest, LeftClickPlaysOneShotPerItemAndRunsTheAction)
{
    Menu* menu = five_item_menu(false);
    const Centre c = main_item(2);
    Heard after_choice;
    Heard after_other_buttons;
    ScreenScript script(clock);
    script.then_click(c.x, c.y)
        .then([&] {
            after_choice = listener.listen();
            push_click(c.x, c.y, SDL_BUTTON_RIGHT);
            push_click(c.x, c.y, SDL_BUTTON_MIDDLE);
        })
        .then([&] {
            after_other_buttons = listener.listen();
            push_click(5, 5);  // beside every item: the miss alone
            push_key(SDLK_ESCAPE);
        });
    menu->run(screen());

    // The chosen item's hit over the miss of the four others, which is one
    // sound started over and heard once.
    EXPECT_EQ(after_choice, (Heard{1, 1, 0}));
    EXPECT_EQ(after_other_buttons, Heard{});
    EXPECT_EQ(listener.listen(), (Heard{0, 1, 0}));
    EXPECT_EQ(actions_run, 1);
    delete menu;
}

TEST_F(MenuTest, ClosingActionEndsTheLoopWithoutClearingTheFrame)
{
    Menu* menu = new Menu(false);
    menu->add_item("Quitter", 255, close_menu);
    const Centre c = {400, 295};
    ScreenScript script(clock);
    script.then_click(c.x, c.y);  // the release must stay queued: the press closed the menu
    menu->run(screen());

    EXPECT_EQ(actions_run, 1);
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_MOUSEBUTTONUP);
    // The last frame (label in green) is still on screen, not the backdrop.
    EXPECT_GT(green_in_band(screen(), 255), 100);
    delete menu;
}

TEST_F(MenuTest, EscapeAndQuitCloseOnlyTheInnermostMenu)
{
    Menu* outer = new Menu(false);
    outer->add_item("Ouvrir", 255, open_nested);
    const Centre c = {400, 295};

    ScreenScript script(clock);
    script.then_click(c.x, c.y)  // the outer menu opens the nested one
        .then([] { push_key(SDLK_ESCAPE); })  // closes the nested menu
        .then_click(c.x, c.y)                 // opens it again from the outer one
        .then([] {
            push_quit();  // closes the nested menu again
            push_quit();  // and now the outer one
        });
    outer->run(screen());

    EXPECT_EQ(nested_returns, 2);
    EXPECT_EQ(script.steps_left(), 0u);
    delete outer;
}

TEST_F(MenuTest, HoverSwitchesCursorInTheSameFrameAndKeysKeepThePointer)
{
    SurfacePtr normal = load_bmp(assets::kCursorNormal);
    SurfacePtr over = load_bmp(assets::kCursorOver);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(over, nullptr);

    Menu* menu = five_item_menu(false);
    const Centre c = main_item(1);
    push_motion(c.x, c.y);
    push_key(SDLK_a);  // carries no pointer: the cursor stays where it was
    push_key(SDLK_ESCAPE);
    menu->run(screen());
    EXPECT_TRUE(picture_shown_at(over.get(), screen(), c.x, c.y));
    delete menu;

    Menu* second = five_item_menu(false);
    push_motion(60, 580);  // on no item
    push_key(SDLK_ESCAPE);
    second->run(screen());
    EXPECT_TRUE(picture_shown_at(normal.get(), screen(), 60, 580));
    delete second;
}

TEST_F(MenuTest, PageDrawsItsPictureUnderItsItems)
{
    SurfacePtr picture = load_bmp(assets::kHowToPlayPage);
    ASSERT_NE(picture, nullptr);
    Menu* page = new Page(assets::kHowToPlayPage);
    page->add_item("Retour", 510, keep_open);
    push_motion(790, 590);
    push_key(SDLK_ESCAPE);
    page->run(screen());
    for (const auto& p : {std::pair<int, int>{100, 100}, {400, 300}, {700, 50}}) {
        EXPECT_TRUE(same_colour(pixel_at(screen(), p.first, p.second),
                                pixel_at(picture.get(), p.first, p.second)))
            << p.first << "," << p.second;
    }
    delete page;
}

TEST_F(MenuTest, OnePressRunsAtMostOneItemOnEveryScreen)
{
    // Labels (106 px tall) overlap on some screens: a press where two boxes
    // meet chooses the first item in the chain. On the main menu, by row:
    const struct {
        int from;
        int to;
        int item;  // -1: none
    } kMainMenuChoices[] = {{0, 110, -1},    {111, 217, 0}, {218, 316, 1},
                            {317, 415, 2}, {416, 514, 3}, {515, 599, 4}};
    for (const Screen& layout : kScreens) {
        SCOPED_TRACE(layout.name);
        Menu* menu = layout.page ? new Page(layout.page) : new Menu(layout.with_title);
        int n = 0;
        for (const MenuRow& row : layout.layout) {
            menu->add_item(row.label, row.y, kCounters[n++]);
        }
        unsigned hits = 0;
        for (int y = 0; y < 600; ++y) {
            std::memset(runs_of, 0, sizeof runs_of);
            menu->handle(screen(), left_press(400, y));

            int runs = 0;
            int ran = -1;
            for (int i = 0; i < n; ++i) {
                runs += runs_of[i];
                ran = runs_of[i] ? i : ran;
            }
            ASSERT_LE(runs, 1) << "press at (400, " << y << ")";
            if (&layout.layout == &layouts::kMain) {
                for (const auto& band : kMainMenuChoices) {
                    if (y >= band.from && y <= band.to) {
                        ASSERT_EQ(ran, band.item) << "press at (400, " << y << ")";
                    }
                }
            }
            // One shot sound per item: the hit for the item that ran, the
            // miss for every other (one sound, heard once).
            const Heard shots{static_cast<unsigned>(runs), runs < n ? 1u : 0u, 0};
            ASSERT_EQ(listener.listen(), shots) << "y " << y;
            hits += static_cast<unsigned>(runs);
        }
        EXPECT_GT(hits, 0u) << "no press chose anything";
        delete menu;
    }
}

TEST_F(MenuTest, PressesWithinADoubleClickOfAShownFrameChooseNothing)
{
    Menu* menu = five_item_menu(false, count_run<0>);
    const Centre first = main_item(0);
    // Each event comes 100 ms after the one before; the menu showed at 0 and
    // again, back from its action, when the press at 400 ms ran it.
    clock.think_ms = 100;
    push_click(first.x, first.y);   // 100 ms, queued before the first frame
    push_key(SDLK_a);               // 300 ms: keys always count
    push_motion(first.x, 5);        // 400 ms
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, first.x, first.y);  // 500 ms: counts
    push_click(first.x, first.y);   // 700 ms: 200 ms after the menu came back
    push_motion(first.x, 6);        // 900 ms
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, first.x, first.y);
    push_quit();                    // never dropped: closes the menu
    menu->run(screen());

    EXPECT_EQ(runs_of[0], 1);
    EXPECT_EQ(listener.listen(), (Heard{1, 1, 0}));
    delete menu;

    // Exactly 400 ms after the frame a press counts; at 399 ms it does not.
    for (const Uint32 after : {399u, 400u}) {
        std::memset(runs_of, 0, sizeof runs_of);
        Menu* again = five_item_menu(false, count_run<0>);
        clock.think_ms = after;
        push_click(first.x, first.y);
        push_quit();
        again->run(screen());
        EXPECT_EQ(runs_of[0], after == 400u ? 1 : 0) << after << " ms";
        // A press that chooses nothing is not a shot either: silence.
        EXPECT_EQ(listener.listen(), after == 400u ? (Heard{1, 1, 0}) : Heard{}) << after << " ms";
        delete again;
    }
}

TEST_F(MenuTest, CursorStandsAtThePointerWhenTheMenuComesBackAndAClickThereChoosesIt)
{
    SurfacePtr over = load_bmp(assets::kCursorOver);
    ASSERT_NE(over, nullptr);
    Menu* outer = new Menu(false);
    outer->add_item("Ouvrir", 120, open_nested);
    outer->add_item("Options", 309, keep_open);
    const Centre options = {400, 349};
    bool cursor_shown = false;
    ScreenScript script(clock);
    script.then_click(400, 160)  // opens the nested menu
        .then([options] {
            push_motion(options.x, options.y);  // the pointer moves on the nested menu,
            push_key(SDLK_ESCAPE);              // which closes without another motion
        })
        .then([&] {
            // Back on the outer menu, before any input: the cursor is at the
            // pointer, and a click without moving chooses what it shows.
            cursor_shown = picture_shown_at(over.get(), screen(), options.x, options.y);
            push_click(options.x, options.y);
        });
    outer->run(screen());

    EXPECT_EQ(script.steps_left(), 0u);
    EXPECT_TRUE(cursor_shown) << "the cursor over an item is not drawn at the pointer";
    EXPECT_EQ(nested_returns, 1);
    EXPECT_EQ(actions_run, 1) << "the click chose another item than the one under the cursor";
    delete outer;
}
