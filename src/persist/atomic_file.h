#ifndef TIREVANE_PERSIST_ATOMIC_FILE_H
#define TIREVANE_PERSIST_ATOMIC_FILE_H

#include <sys/types.h>

#include <cstddef>
#include <string>

// Replaces the file at `path` with exactly `bytes`. The new content goes to
// a temporary file in the same folder, is flushed to disk, and is renamed
// over the old file, so a crash or power loss at any moment leaves either
// the old file or the new one, never a missing, empty or partial file.
// Returns false when the write could not be done; the old file is then
// untouched and no temporary file is left behind.
bool replace_file_atomically(const char* path, const std::string& bytes);

// Lets tests make the write fail part-way. The function behaves like
// ::write(2); nullptr restores the real one.
namespace atomic_file_seam {
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t size);
void set_write_function(WriteFunction write_function);
}  // namespace atomic_file_seam

#endif
