#ifndef TIREVANE_APP_COMMAND_LINE_H
#define TIREVANE_APP_COMMAND_LINE_H

#include <cstdio>
#include <string>

// What the command line asks for, read before anything else starts: help
// and version are answered without opening a window or a sound device.
struct CommandLine {
    enum class Action { play, help, version, bad_usage };
    Action action = Action::play;
    bool fullscreen = false;
    std::string bad_argument;  // what was not understood, for bad_usage
};

// GNU style: long options only, --help and --version win wherever they
// stand (the first of the two), anything unknown is an error.
CommandLine parse_command_line(int argc, const char* const* argv);

// Answers help, version and bad usage on the streams GNU programs use
// (stdout, stdout, stderr) and returns the exit status: 0, 0, 2. Returns -1
// for play, which is not answered here.
int answer_command_line(const CommandLine& command, std::FILE* out, std::FILE* err);

#endif
