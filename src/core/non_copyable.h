#ifndef TIREVANE_CORE_NON_COPYABLE_H
#define TIREVANE_CORE_NON_COPYABLE_H

// Base for owners of resources (surfaces, sounds, files, chains): a copy
// would free them twice.
class NonCopyable {
protected:
    NonCopyable() = default;
    ~NonCopyable() = default;

public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

#endif
