#include <gtest/gtest.h>

#include <string>

#include "persist/config_file.h"
#include "persist/profile.h"
#include "persist_test_util.h"

using namespace persisttest;

using ConfigFileTest = PersistTest;

TEST_F(ConfigFileTest, MissingFileReadsZeroAndAWriteCreatesIt)
{
    ConfigFile config;
    EXPECT_FALSE(config.read_visor());
    EXPECT_EQ(config.visor(), '0');
    EXPECT_FALSE(config.read_difficulty());
    EXPECT_EQ(config.difficulty(), '0');

    config.write_visor('3');
    const std::string written = config_file();
    EXPECT_EQ(written, "[ \xA7Visor ] -> 3\n[ \xA7" "Difficulte ] -> 0");
    EXPECT_EQ(written.size(), 36u);
    EXPECT_EQ(static_cast<unsigned char>(written[2]), 0xA7u);
}

TEST_F(ConfigFileTest, EmptyFileReadsZero)
{
    write_config("");
    ConfigFile config;
    EXPECT_FALSE(config.read_visor());
    EXPECT_EQ(config.visor(), '0');
    EXPECT_FALSE(config.read_difficulty());
    EXPECT_EQ(config.difficulty(), '0');
}

TEST_F(ConfigFileTest, EachWriteKeepsTheOtherOption)
{
    write_config("[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 1");
    ConfigFile config;
    config.write_difficulty('2');
    EXPECT_EQ(config_file(), "[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 2");
    config.write_visor('5');
    EXPECT_EQ(config_file(), "[ \xA7Visor ] -> 5\n[ \xA7" "Difficulte ] -> 2");
    ASSERT_TRUE(config.read_visor());
    ASSERT_TRUE(config.read_difficulty());
    EXPECT_EQ(config.visor(), '5');
    EXPECT_EQ(config.difficulty(), '2');
}

TEST_F(ConfigFileTest, ShortFileGivesFFWhichTheProfileTakesAsVisorZero)
{
    write_config("short\n2");
    ConfigFile config;
    EXPECT_TRUE(config.read_visor());
    EXPECT_EQ(static_cast<unsigned char>(config.visor()), 0xFFu);
    EXPECT_TRUE(config.read_difficulty());
    EXPECT_EQ(config.difficulty(), '2');

    // Written into the save file as '0': a 0xFF byte there would end its text.
    write_save("[ ! ] -> True\n[\xA7saved:Visor=4][\xA7saved:Diff=0][\xA7saved:GameScore=150]");
    Profile profile;
    profile.load();
    EXPECT_EQ(profile.visor_index(), 0);
    EXPECT_EQ(profile.difficulty_index(), 2);
    profile.write_visor_difficulty(assets::kSaveFile);
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=0][\xA7saved:Diff=2][\xA7saved:GameScore=150]");

    write_config("x");
    EXPECT_TRUE(config.read_difficulty()) << "a one-byte file's last byte is its first";
    EXPECT_EQ(config.difficulty(), 'x');
}

TEST_F(ConfigFileTest, TrailingLineBreaksAreNotTheDifficulty)
{
    // A file saved from a text editor: LF, CRLF, blank lines, a lone CR.
    for (const std::string ending : {"\n", "\r\n", "\n\n\n", "\r\n\r\n", "\r", "\n\r"}) {
        SCOPED_TRACE(testing::PrintToString(ending));
        write_config("[ \xA7Visor ] -> 2\n[ \xA7" "Difficulte ] -> 1" + ending);
        ConfigFile config;
        ASSERT_TRUE(config.read_difficulty());
        EXPECT_EQ(config.difficulty(), '1');
        ASSERT_TRUE(config.read_visor());
        EXPECT_EQ(config.visor(), '2');
        config.write_visor('4');
        EXPECT_EQ(config_file(), "[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 1");
    }
}

TEST_F(ConfigFileTest, LineBreaksInsideTheFileStayBytes)
{
    // Only the trailing ones are skipped: byte 14 is taken as it is, and a
    // difficulty typed on a line of its own after a blank line still counts.
    write_config("[ \xA7Visor ] -> \n3\n\n2\r\n");
    ConfigFile config;
    ASSERT_TRUE(config.read_visor());
    EXPECT_EQ(config.visor(), '\n');
    ASSERT_TRUE(config.read_difficulty());
    EXPECT_EQ(config.difficulty(), '2');
}

TEST_F(ConfigFileTest, AFileOfLineBreaksOnlyReadsLikeAnEmptyOne)
{
    // Long enough to have a byte 14, and longer than one read of the file.
    for (const std::string& bytes : {std::string("\n"), std::string("\r\n\r\n"),
                                    std::string(20, '\n'), std::string(1500, '\n') + "\r"}) {
        SCOPED_TRACE(bytes.size());
        write_config(bytes);
        ConfigFile config;
        EXPECT_FALSE(config.read_visor());
        EXPECT_EQ(config.visor(), '0');
        EXPECT_FALSE(config.read_difficulty());
        EXPECT_EQ(config.difficulty(), '0');
        config.write_difficulty('2');
        EXPECT_EQ(config_file(), "[ \xA7Visor ] -> 0\n[ \xA7" "Difficulte ] -> 2");
    }
    // A difficulty before a long run of line breaks is still found.
    write_config("1" + std::string(1500, '\n'));
    ConfigFile config;
    ASSERT_TRUE(config.read_difficulty());
    EXPECT_EQ(config.difficulty(), '1');
}

TEST_F(ConfigFileTest, HandEditedFileReadsByPositionAndIsReplacedByTheStandardText)
{
    // Byte 14 is the visor and the last byte the difficulty, whatever else.
    write_config("# my options #5 and then a long comment: 1");
    ConfigFile config;
    ASSERT_TRUE(config.read_visor());
    ASSERT_TRUE(config.read_difficulty());
    EXPECT_EQ(config.visor(), '5');
    EXPECT_EQ(config.difficulty(), '1');
    config.write_difficulty('0');
    EXPECT_EQ(config_file(), "[ \xA7Visor ] -> 5\n[ \xA7" "Difficulte ] -> 0");
}

TEST_F(ConfigFileTest, NulByteIsWrittenBackAsItIs)
{
    write_config(std::string("[ \xA7Visor ] -> 3\n[ \xA7") + "Difficulte ] -> " +
                 std::string(1, '\0'));
    ConfigFile config;
    config.write_visor('1');
    EXPECT_EQ(config_file(), std::string("[ \xA7Visor ] -> 1\n[ \xA7" "Difficulte ] -> \0", 36));
    EXPECT_EQ(config_file().size(), 36u);
}
