#include "persist/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>


namespace {

atomic_file_seam::WriteFunction current_write = nullptr;

ssize_t write_some(int fd, const void* data, std::size_t size)
{
    return current_write ? current_write(fd, data, size) : ::write(fd, data, size);
}

// Each step below returns 0 or the errno of the call that failed, taken
// before any clean-up call can change it.

int write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write_some(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int read_all(int fd, std::string& out)
{
    char block[4096];
    for (;;) {
        ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        out.append(block, static_cast<std::size_t>(n));
    }
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

int replace_through_temporary(const std::string& target, const std::string& bytes)
{
    const std::string temporary = target + ".tmp";

    // A temporary left by an earlier crash is only an unfinished copy.
    ::unlink(temporary.c_str());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    // The replacement keeps the permissions of the file it replaces.
    struct stat old_file;
    if (::stat(target.c_str(), &old_file) == 0) {
        ::fchmod(fd, old_file.st_mode & 07777);
    }
    int failure = write_all(fd, bytes);
    if (failure == 0 && ::fsync(fd) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        return failure;
    }
    sync_folder(folder_of(target));
    return 0;
}

// Puts `bytes` back as the whole content of the open file.
int overwrite(int fd, const std::string& bytes)
{
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        return errno;
    }
    int failure = write_all(fd, bytes);
    if (failure == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        failure = errno;
    }
    if (failure == 0 && ::fsync(fd) != 0) {
        failure = errno;
    }
    return failure;
}

// Without a temporary file the old content is overwritten, so the space
// for the new one is reserved first (a full disk then fails before any old
// byte changes), and a write that still fails puts the old bytes back as
// far as the disk lets it.
int rewrite_in_place(const std::string& target, const std::string& bytes)
{
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);  // never creates
    if (fd < 0) {
        return errno;
    }
    std::string old_bytes;
    int failure = read_all(fd, old_bytes);
    if (failure == 0 && bytes.size() > old_bytes.size()) {
        failure = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (failure == EOPNOTSUPP || failure == ENOSYS) {
            failure = 0;  // nothing to reserve with: the writes will tell
        } else if (failure != 0) {
            ::ftruncate(fd, static_cast<off_t>(old_bytes.size()));
        }
    }
    if (failure == 0) {
        failure = overwrite(fd, bytes);
        if (failure != 0) {
            overwrite(fd, old_bytes);
        }
    }
    ::close(fd);
    return failure;
}

// The folder will not take a new file or a rename, yet the file in it may
// still be writable.
bool folder_refused(int failure)
{
    return failure == EACCES || failure == EPERM || failure == EROFS;
}

const char* advice_for(int failure)
{
    switch (failure) {
    case EACCES:
    case EPERM:
    case EROFS:
        return " (make the file and its folder writable)";
    case ENOSPC:
    case EDQUOT:
        return " (free some disk space)";
    case ENOENT:
    case ENOTDIR:
        return " (start the game from the folder that holds System/)";
    default:
        return "";
    }
}

FailedSaveTeller failed_save_teller = nullptr;

// The reason as the player reads it on screen, in Latin-1 like every text
// the game draws.
const char* reason_shown(int failure)
{
    switch (failure) {
    case ENOSPC:
    case EDQUOT:
        return "disque plein";
    case EROFS:
        return "dossier en lecture seule";
    case EACCES:
    case EPERM:
        return "acc\xe8s refus\xe9";
    case ENOENT:
    case ENOTDIR:
        return "dossier introuvable";
    default:
        return "erreur d'\xe9" "criture";
    }
}

}  // namespace

namespace atomic_file_seam {
void set_write_function(WriteFunction write_function)
{
    current_write = write_function;
}
}  // namespace atomic_file_seam

bool replace_file_atomically(const char* path, const std::string& bytes, int* error)
{
    int failure = 0;
    // A link is written through to the file it names, and a file that could
    // not be opened for writing in place (made read-only) is left alone.
    char resolved[PATH_MAX];
    const bool exists = ::realpath(path, resolved) != nullptr;
    const std::string target = exists ? std::string(resolved) : std::string(path);
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        failure = errno;
    } else {
        failure = replace_through_temporary(target, bytes);
        if (failure != 0 && exists && folder_refused(failure)) {
            failure = rewrite_in_place(target, bytes);
        }
    }
    if (error) {
        *error = failure;
    }
    return failure == 0;
}

bool save_data_file(const char* path, const std::string& bytes, const char* lost)
{
    int failure = 0;
    if (replace_file_atomically(path, bytes, &failure)) {
        return true;
    }
    std::fprintf(stderr,
                 "tirevane: cannot save '%s': %s%s; the game goes on without keeping this "
                 "change\n",
                 path, std::strerror(failure), advice_for(failure));
    if (failed_save_teller) {
        const std::string line = std::string(lost) + " : " + reason_shown(failure);
        failed_save_teller(line.c_str());
    }
    return false;
}

void set_failed_save_teller(FailedSaveTeller teller)
{
    failed_save_teller = teller;
}
