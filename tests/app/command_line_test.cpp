#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

CommandLine parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "tirevane");
    return parse_command_line(static_cast<int>(arguments.size()), arguments.data());
}

// What answer_command_line printed on each stream, and its status.
struct Answer {
    int status;
    std::string out;
    std::string err;
};

std::string contents(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, n);
    }
    std::fclose(file);
    return text;
}

Answer answer(std::vector<const char*> arguments)
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = answer_command_line(parse(std::move(arguments)), out, err);
    return {status, contents(out), contents(err)};
}

std::string first_line(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

}  // namespace

TEST(CommandLine, ReadsGnuLongOptions)
{
    using A = CommandLine::Action;
    struct Case {
        std::vector<const char*> arguments;
        A action;
        bool fullscreen;
        const char* bad;
    };
    const Case cases[] = {
        {{}, A::play, false, ""},
        {{"--fullscreen"}, A::play, true, ""},
        {{"--fullscreen", "--fullscreen"}, A::play, true, ""},
        {{"--help"}, A::help, false, ""},
        {{"--version"}, A::version, false, ""},
        // Help and version win wherever they stand, the first of them.
        {{"--fullscreen", "--help"}, A::help, true, ""},
        {{"--version", "--help"}, A::version, false, ""},
        {{"--bogus", "--help"}, A::help, false, ""},
        // Not options of this game: short forms, abbreviations, values,
        // other cases, plain words, a lone dash or double dash.
        {{"-h"}, A::bad_usage, false, "-h"},
        {{"--full"}, A::bad_usage, false, "--full"},
        {{"--fullscreen=yes"}, A::bad_usage, false, "--fullscreen=yes"},
        {{"--Help"}, A::bad_usage, false, "--Help"},
        {{"--fullscreen", "plein"}, A::bad_usage, true, "plein"},
        {{"-", "--"}, A::bad_usage, false, "-"},
        {{"--"}, A::bad_usage, false, "--"},
        {{""}, A::bad_usage, false, ""},
    };
    for (const Case& c : cases) {
        const CommandLine got = parse(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(got.action, c.action) << shown;
        EXPECT_EQ(got.fullscreen, c.fullscreen) << shown;
        EXPECT_EQ(got.bad_argument, c.bad) << shown;
    }
}

TEST(CommandLine, HelpAndVersionGoToStdoutAndSucceed)
{
    const Answer help = answer({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(first_line(help.out), "Usage : tirevane [--fullscreen]");
    for (const char* needed : {"--fullscreen ", "--help ", "--version ", "F11 ", "Échap ",
                               "System/01/config.conf", "System/02/user.saved",
                               "${XDG_DATA_HOME:-~/.local/share}/tirevane"}) {
        EXPECT_NE(help.out.find(needed), std::string::npos) << needed;
    }
    // Fits a 80-column terminal.
    size_t start = 0;
    for (size_t end; (end = help.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = help.out.substr(start, end - start);
        size_t columns = 0;
        for (unsigned char c : line) {
            columns += (c & 0xC0) != 0x80;  // UTF-8 continuation bytes take no column
        }
        EXPECT_LE(columns, 79u) << line;
    }
    EXPECT_EQ(help.out.back(), '\n');

    const Answer version = answer({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(first_line(version.out), "tirevane 1.0.0") << version.out;
    EXPECT_NE(version.out.find("MIT"), std::string::npos);
}

TEST(CommandLine, BadUsageGoesToStderrWithStatusTwo)
{
    const Answer unknown = answer({"--fenetre"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "tirevane : option inconnue « --fenetre »\n"
                           "Usage : tirevane [--fullscreen]\n"
                           "        tirevane --help | --version\n"
                           "Plus d'informations : tirevane --help\n");
    const Answer word = answer({"partie"});
    EXPECT_EQ(word.status, 2);
    EXPECT_EQ(first_line(word.err), "tirevane : argument inattendu « partie »");

    // Playing is not answered here: nothing printed, no status.
    const Answer play = answer({"--fullscreen"});
    EXPECT_EQ(play.status, -1);
    EXPECT_EQ(play.out + play.err, "");
}
