#include "menu/menu.h"

#include "core/assets.h"
#include "core/frame_pacer.h"
#include "core/fullscreen.h"
#include "core/input.h"
#include "core/notice.h"
#include "menu/menu_item.h"

namespace {

// Below the lowest label.
constexpr int kNoticeMargin = 2;

}  // namespace

Menu::Menu(bool with_title)
    : has_title(with_title ? 1 : 0), done(0)
{
    if (has_title) {
        // Opaque as rendered: a per-surface alpha of 255 changes nothing on
        // classic SDL and hides this palette surface on sdl12-compat.
        title = render_shaded(assets::kMenuFont, 90, "Tirevane", kRed, kBlack);
    }
    backdrop = create_black_surface(kScreenWidth, kScreenHeight);
    cursor_normal = load_keyed_bmp(assets::kCursorNormal);
    cursor_over = load_keyed_bmp(assets::kCursorOver);
    backdrop_pos = rect_at(0, 0);
    title_pos = rect_at(0, 0);
    if (title) {
        title_pos = rect_at(centred_x(title->w), centred_y(title->h));
    }
    cursor_pos = rect_at(0, 0);
    event = SDL_Event();
    hit_sound = FSOUND_Stream_Open(assets::kHitShot, 0, 0, 0);
    miss_sound = FSOUND_Stream_Open(assets::kMissShot, 0, 0, 0);
}

Menu::~Menu()
{
    FSOUND_Stream_Close(hit_sound);
    FSOUND_Stream_Close(miss_sound);
    items.clear();
}

void Menu::add_item(const char* text, Sint16 y, MenuAction action)
{
    items.append(text, y, action);
}

Sint16 Menu::slide_step(SDL_Surface* screen)
{
    if (title_pos.y == 10) {
        return 10;
    }
    blit_at(backdrop, screen, backdrop_pos);
    blit_at(title, screen, title_pos);
    --title_pos.y;
    return title_pos.y;
}

void Menu::slide_in(SDL_Surface* screen)
{
    SDL_ShowCursor(0);
    if (!title) {
        return;
    }
    FramePacer pacer;
    while (title_pos.y != 10) {
        const Sint16 y = slide_step(screen);
        // Item k appears once the title is drawn at y = 36 - 5k; the frame
        // with the title on its last row is shown too, so the slide-in ends
        // with all five items on screen.
        for (int k = 0; k < 5; ++k) {
            MenuItem* item = items.item_at(static_cast<Uint16>(k));
            if (y <= 35 - 5 * k && item) {
                item->draw(screen, false);
            }
        }
        SDL_Flip(screen);
        pacer.wait_after_flip();
    }
    title_pos.y = 11;
}

void Menu::run(SDL_Surface* screen)
{
    show(screen);
    SDL_Event received;
    while (!done) {
        if (!notice::wait_event(received, [&] { draw_frame(screen); })) {
            // The event system is gone: nothing more can close this menu.
            done = 1;
            break;
        }
        handle(screen, received);
    }
}

void Menu::handle(SDL_Surface* screen, const SDL_Event& received)
{
    // F11 means nothing else here; the screen is drawn again below, as
    // after any key, which also shows it at once in its new mode.
    handle_fullscreen_key(received);
    event = received;
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            done = 1;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            play_shot_sounds();
        }
        break;
    case SDL_QUIT:
        done = 1;
        break;
    default:
        break;
    }
    draw_frame(screen);
    if (run_clicked_action(screen) && !done) {
        // Back from the screen the action opened: shown again at once, the
        // way it is now, and deaf to the rest of a double click.
        show(screen);
    }
}

void Menu::show(SDL_Surface* screen)
{
    draw_frame(screen);
    input::screen_shown();
}

void Menu::draw_frame(SDL_Surface* screen)
{
    // Cleared before drawing rather than after the flip: the screen surface
    // then always holds what the window shows, which is what the window
    // system repaints from when part of the window is uncovered.
    blit_at(backdrop, screen, backdrop_pos);
    draw(screen);
    notice::draw(screen, this, kScreenHeight - kNoticeMargin);
    draw_cursor(screen, pointer_on_item(input::pointer_motion()) ? 2 : 1);
    SDL_Flip(screen);
}

void Menu::draw(SDL_Surface* screen)
{
    if (has_title) {
        blit_at(title, screen, title_pos);
    }
    items.draw_all(screen);
}

void Menu::draw_cursor(SDL_Surface* screen, Sint16 kind)
{
    SDL_Surface* picture = kind == 1 ? cursor_normal.get() : kind == 2 ? cursor_over.get() : nullptr;
    if (!picture) {
        return;
    }
    const input::Point pointer = input::pointer();
    cursor_pos = rect_at(static_cast<Sint16>(pointer.x - picture->w / 2),
                         static_cast<Sint16>(pointer.y - picture->h / 2));
    blit_at(picture, screen, cursor_pos);
}

bool Menu::pointer_on_item(const SDL_Event& pointer) const
{
    return item_under(pointer) != nullptr;
}

const MenuItem* Menu::item_under(const SDL_Event& pointer) const
{
    for (const MenuItem* item = items.item_at(0); item; item = item->next_item()) {
        if (item->hit_test(pointer)) {
            return item;
        }
    }
    return nullptr;
}

void Menu::play_shot_sounds()
{
    // One sound per item: a hit for the item the press chooses, a miss for
    // every other, so the click is heard whatever it lands on.
    const MenuItem* chosen = item_under(event);
    for (const MenuItem* item = items.item_at(0); item; item = item->next_item()) {
        FSOUND_Stream_Play(-1, item == chosen ? hit_sound : miss_sound);
    }
}

bool Menu::run_clicked_action(SDL_Surface* screen)
{
    // Boxes of neighbouring rows can overlap by a few pixels: one press
    // still runs a single action, the first item's in the chain.
    const MenuItem* item = item_under(event);
    if (!item || !item->click_test(event)) {
        return false;
    }
    Uint8 close = 0;
    item->run_action(screen, &close);
    done = close;
    return true;
}
