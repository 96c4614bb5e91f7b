// What a page lacks of the platform the game is written for.
#include <SDL.h>
#include <dlfcn.h>

#include <cstring>

extern "C" {

// A page has no shared libraries: every dlopen fails, as on a system where
// the library is not installed (Emscripten's aborts the page instead).
void* dlopen(const char*, int)
{
    return nullptr;
}

void* dlsym(void*, const char*)
{
    return nullptr;
}

int dlclose(void*)
{
    return 0;
}

}  // extern "C"

// Declared by Emscripten's SDL headers, defined nowhere.
void* SDL_memset(void* dst, int c, size_t len)
{
    return std::memset(dst, c, len);
}
