#ifndef TIREVANE_PERSIST_DATA_LOCK_H
#define TIREVANE_PERSIST_DATA_LOCK_H

#include "core/non_copyable.h"

// One game at a time on the same data files: two games rewriting the same
// options and save files would each undo what the other saved. The lock is
// the system's own on the data folder, so it goes with the process however
// it ends, killed included, and is not passed to the programs it starts.
class DataLock : NonCopyable {
public:
    // Takes the lock on `folder`.
    explicit DataLock(const char* folder);
    ~DataLock();

    // False only when another process holds the lock. A folder that cannot
    // be opened or a system without such locks counts as free: the start-up
    // checks tell a missing folder better.
    bool held() const { return !busy; }

private:
    int fd = -1;
    bool busy = false;
};

#endif
