#include "persist/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>

namespace {

atomic_file_seam::WriteFunction current_write = nullptr;

ssize_t write_some(int fd, const void* data, std::size_t size)
{
    return current_write ? current_write(fd, data, size) : ::write(fd, data, size);
}

bool write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write_some(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folder_of(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a folder that cannot be synced does not
// undo a replacement that has already happened.
void sync_folder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

namespace atomic_file_seam {
void set_write_function(WriteFunction write_function)
{
    current_write = write_function;
}
}  // namespace atomic_file_seam

bool replace_file_atomically(const char* path, const std::string& bytes)
{
    // A link is written through to the file it names, and a file that could
    // not be opened for writing in place (made read-only) is left alone.
    char resolved[PATH_MAX];
    const bool exists = ::realpath(path, resolved) != nullptr;
    const std::string target = exists ? std::string(resolved) : std::string(path);
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return false;
    }
    const std::string temporary = target + ".tmp";

    // A temporary left by an earlier crash is only an unfinished copy.
    ::unlink(temporary.c_str());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    // The replacement keeps the permissions of the file it replaces.
    struct stat old_file;
    if (::stat(target.c_str(), &old_file) == 0) {
        ::fchmod(fd, old_file.st_mode & 07777);
    }
    bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(folder_of(target));
    return true;
}
