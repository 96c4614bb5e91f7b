#ifndef TIREVANE_PERSIST_ATOMIC_FILE_H
#define TIREVANE_PERSIST_ATOMIC_FILE_H

#include <sys/types.h>

#include <cstddef>
#include <string>

// Replaces the file at `path` with exactly `bytes`. The new content goes to
// a temporary file in the same folder, is flushed to disk, and is renamed
// over the old file, so a crash or power loss at any moment leaves either
// the old file or the new one, never a missing, empty or partial file.
// A link is written through to the file it names; a file that is not
// writable is left alone. When the folder refuses the temporary file (no
// permission to create or rename there) but the file exists and is
// writable, the file is rewritten where it is instead, which a crash could
// leave half-written but which keeps the save.
// Returns false when the write could not be done; the old file is then
// whole, no temporary file is left behind, and `error`, when given, holds
// the errno of the call that failed.
bool replace_file_atomically(const char* path, const std::string& bytes, int* error = nullptr);

// How the game saves its data files: a replacement that fails is told in
// one line on stderr, naming the file, the reason and what the player can
// do about it, and to the teller below as `lost` (what the player loses, in
// the game's French) followed by the reason in a few words. The game goes on.
bool save_data_file(const char* path, const std::string& bytes, const char* lost);

// Where a failed save is told to the player besides stderr: the game sets
// its screens' notice here at start-up. This folder draws nothing itself.
using FailedSaveTeller = void (*)(const char* line);
void set_failed_save_teller(FailedSaveTeller teller);

// Lets tests make the write fail part-way. The function behaves like
// ::write(2); nullptr restores the real one.
namespace atomic_file_seam {
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t size);
void set_write_function(WriteFunction write_function);
}  // namespace atomic_file_seam

#endif
