#include "persist/data_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

DataLock::DataLock(const char* folder)
{
    fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
    }
}

DataLock::~DataLock()
{
    if (fd >= 0) {
        ::close(fd);
    }
}
