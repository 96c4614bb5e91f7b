#include "test_support.h"

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "core/fullscreen.h"
#include "core/input.h"

namespace fs = std::filesystem;

namespace {

// The test programs live away from the game's executable, beside which the
// WMA decoder is looked for: they use the build's copy unless the
// environment names another.
[[maybe_unused]] const bool wma_decoder_named =
    setenv("TIREVANE_WMA_DECODER", TIREVANE_WMA_DECODER_BINARY, 0) == 0;

}  // namespace

namespace testsupport {

fs::path source_dir()
{
    return fs::path(TIREVANE_SOURCE_DIR);
}

GameDir::GameDir() : previous_(fs::current_path())
{
    std::string pattern = (fs::temp_directory_path() / "tirevane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary game folder");
    }
    dir_ = pattern;
    const fs::path src = source_dir();
    fs::copy(src / "System", dir_ / "System", fs::copy_options::recursive);
    for (const char* font : {"alphamalemodern.ttf", "spaceage.ttf"}) {
        if (fs::exists(src / font)) {
            fs::copy_file(src / font, dir_ / font);
        }
    }
    fs::current_path(dir_);
}

GameDir::~GameDir()
{
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(dir_, ignored);
}

VideoSession::VideoSession()
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        throw std::runtime_error(std::string("SDL_Init: ") + SDL_GetError());
    }
    TTF_Init();
    screen_ = SDL_SetVideoMode(800, 600, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (!screen_) {
        throw std::runtime_error(std::string("SDL_SetVideoMode: ") + SDL_GetError());
    }
    drain_events();
    input::window_opened();
}

VideoSession::~VideoSession()
{
    TTF_Quit();
    SDL_Quit();
}

namespace {

bool push(SDL_Event& event)
{
    return SDL_PushEvent(&event) == 0;
}

}  // namespace

bool push_key(SDLKey key)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    return push(e);
}

bool push_key_up(SDLKey key)
{
    SDL_Event e{};
    e.type = SDL_KEYUP;
    e.key.state = SDL_RELEASED;
    e.key.keysym.sym = key;
    return push(e);
}

bool push_quit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    return push(e);
}

bool push_motion(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    return push(e);
}

bool push_button(Uint8 type, Uint8 button, int x, int y)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return push(e);
}

bool push_click(int x, int y, Uint8 button)
{
    return push_button(SDL_MOUSEBUTTONDOWN, button, x, y) &&
           push_button(SDL_MOUSEBUTTONUP, button, x, y);
}

bool push_active(Uint8 gain, Uint8 state)
{
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.gain = gain;
    e.active.state = state;
    return push(e);
}

void drain_events()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

ScreenScript::ScreenScript(FakeClock& clock, Uint32 look_ms) : clock_(clock), look_ms_(look_ms)
{
    clock_.when_idle = [this] {
        if (steps_.empty()) {
            return;
        }
        clock_.advance(look_ms_);
        const std::function<void()> step = std::move(steps_.front());
        steps_.pop_front();
        step();
    };
}

ScreenScript::~ScreenScript()
{
    clock_.when_idle = nullptr;
}

ScreenScript& ScreenScript::then(std::function<void()> push_events)
{
    steps_.push_back(std::move(push_events));
    return *this;
}

ScreenScript& ScreenScript::then_click(int x, int y)
{
    return then([x, y] { push_click(x, y); });
}

FakeDisplaySwitch::FakeDisplaySwitch()
{
    set_fullscreen_switch([this](SDL_Surface* surface) {
        ++switches;
        switched_surface = surface;
        return can_switch ? 1 : 0;
    });
}

FakeDisplaySwitch::~FakeDisplaySwitch()
{
    set_fullscreen_switch(nullptr);
}

void click_item(const MenuLayout& layout, const char* label)
{
    for (const MenuRow& row : layout) {
        if (std::string(row.label) == label) {
            push_click(400, row.y + 40);
            return;
        }
    }
    ADD_FAILURE() << "no item \"" << label << "\" on that menu";
}

SDL_Color pixel_at(SDL_Surface* surface, int x, int y)
{
    SDL_LockSurface(surface);
    const Uint8 bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    Uint32 value = 0;
    switch (bpp) {
    case 1: value = *p; break;
    case 2: value = *reinterpret_cast<const Uint16*>(p); break;
    case 3: value = p[0] | (p[1] << 8) | (p[2] << 16); break;
    default: value = *reinterpret_cast<const Uint32*>(p); break;
    }
    SDL_UnlockSurface(surface);
    SDL_Color c{};
    SDL_GetRGB(value, surface->format, &c.r, &c.g, &c.b);
    return c;
}

bool same_colour(SDL_Color a, SDL_Color b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testsupport
