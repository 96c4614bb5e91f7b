#include <gtest/gtest.h>

#include <string>

#include "persist/char_list.h"
#include "persist/key_scanner.h"
#include "persist_test_util.h"

using persisttest::PersistTest;

TEST(CharListTest, EmptyListsStayEmpty)
{
    CharList list;
    EXPECT_TRUE(list.is_empty());
    EXPECT_EQ(list.count(), 0);
    list.assign("");
    EXPECT_TRUE(list.is_empty());
    CharList other;
    list.append_list(other);
    EXPECT_TRUE(list.is_empty());
    list.append('x');
    EXPECT_FALSE(list.is_empty());
    EXPECT_EQ(list.count(), 1);
    list.clear();
    EXPECT_TRUE(list.is_empty());
}

TEST(CharListTest, NodeAtPastTheEndStaysOnTheLastNode)
{
    CharList list;
    list.assign("abc");
    EXPECT_EQ(list.node_at(0)->value(), 'a');
    EXPECT_EQ(list.node_at(2)->value(), 'c');
    EXPECT_EQ(list.node_at(3), list.node_at(2));
    EXPECT_EQ(list.node_at(1000), list.node_at(2));
}

TEST(CharListTest, InsertAfterAndSetValueEditInPlace)
{
    CharList list;
    list.assign("ad");
    list.node_at(0)->insert_after('c');
    list.node_at(0)->insert_after('b');
    list.node_at(3)->insert_after('e');
    list.node_at(0)->set_value('A');
    EXPECT_EQ(list.to_bytes(), "Abcde");
    EXPECT_EQ(list.count(), 5);
}

TEST(CharListTest, AssignReplacesTheWholeText)
{
    CharList list;
    list.assign("old text");
    list.assign("new");
    EXPECT_EQ(list.to_bytes(), "new");
}

TEST(CharListTest, AppendListMovesNodesWithoutCopying)
{
    CharList receiver;
    receiver.assign("ab");
    CharList other;
    other.assign("cd");
    CharNode* moved = other.first_node();
    receiver.append_list(other);
    EXPECT_TRUE(other.is_empty());
    EXPECT_EQ(receiver.to_bytes(), "abcd");
    EXPECT_EQ(receiver.node_at(2), moved);

    CharList empty_receiver;
    CharList giver;
    giver.assign("xy");
    CharNode* first = giver.first_node();
    empty_receiver.append_list(giver);
    EXPECT_EQ(empty_receiver.first_node(), first);
    EXPECT_TRUE(giver.is_empty());
    EXPECT_EQ(empty_receiver.to_bytes(), "xy");
}

TEST(CharListTest, CopiesAndRemovalsKeepTheRestOfTheChainLinked)
{
    CharList source;
    source.assign("ab");
    CharList list;
    list.append_copy(source);
    list.append_copy(source);
    EXPECT_EQ(list.to_bytes(), "abab");
    EXPECT_EQ(source.to_bytes(), "ab") << "the copied list is left as it was";
    EXPECT_NE(list.first_node(), source.first_node());

    list.node_at(0)->remove_next();
    EXPECT_EQ(list.to_bytes(), "aab");
    list.node_at(2)->remove_next();
    EXPECT_EQ(list.to_bytes(), "aab") << "nothing after the last node";

    list.remove_front(2);
    EXPECT_EQ(list.to_bytes(), "b");
    list.remove_front(5);
    EXPECT_TRUE(list.is_empty());
    list.remove_front(1);
    EXPECT_TRUE(list.is_empty());
}

TEST(CharListTest, BytesKeepNulAndHighBytes)
{
    CharList list;
    list.append_bytes(std::string("a\0\xA7", 3));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.to_bytes(), std::string("a\0\xA7", 3));
}

TEST(CharListTest, AVeryLongChainIsFreedWithoutExhaustingTheStack)
{
    // Deep enough that a destructor recursing once per node would overflow
    // the default 8 MB stack.
    CharList list;
    list.append_bytes(std::string(3000000, 'x'));
    EXPECT_EQ(list.count(), 3000000);
    list.clear();
    EXPECT_TRUE(list.is_empty());

    CharNode* chain = new CharNode('a');
    CharNode* node = chain;
    for (int i = 0; i < 3000000; ++i) {
        node->insert_after('b');
        node = node->next_node();
    }
    delete chain;
}

using KeyScannerTest = PersistTest;

namespace {

void write_text(const std::string& bytes)
{
    testsupport::write_file("scan.txt", bytes);
}

}  // namespace

TEST_F(KeyScannerTest, ReportsThePositionJustPastTheKey)
{
    KeyScanner scanner;
    Sint32 position = -1;

    write_text("key and more");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 3) << "a key at the start reports its own length";

    write_text("text ending in key");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 18) << "a key ending the file reports the text length";

    write_text("one key, two key");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 7) << "the earliest occurrence wins";

    write_text("aab");
    EXPECT_TRUE(scanner.find_key("scan.txt", "ab", &position));
    EXPECT_EQ(position, 3) << "a key starting inside a partial match is found";

    write_text("line\nkey");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 8) << "a line break counts once";

    write_text("aKey");
    position = -1;
    EXPECT_FALSE(scanner.find_key("scan.txt", "key", &position)) << "case matters";
    EXPECT_EQ(position, -1);
}

TEST_F(KeyScannerTest, StopsReadingAtTheFirstFFByte)
{
    KeyScanner scanner;
    Sint32 position = -1;
    write_text("ab\xFFkey");
    EXPECT_FALSE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, -1);

    write_text("ab\xFF");
    EXPECT_FALSE(scanner.find_key("scan.txt", "ab\xFF", &position))
        << "the 0xFF byte itself is not part of the text";

    std::FILE* file = std::fopen("scan.txt", "w");
    std::fputs("xy\xFFz", file);
    std::fclose(file);
    file = std::fopen("scan.txt", "r");
    CharList list;
    list.append_file(file);
    EXPECT_EQ(std::fgetc(file), 'z') << "nothing after the 0xFF byte is read";
    std::fclose(file);
    EXPECT_EQ(list.to_bytes(), "xy");
}

TEST_F(KeyScannerTest, AnswersWithoutAPositionAndLeavesItAloneOnFailure)
{
    KeyScanner scanner;
    write_text("[ ! ] -> True\n");
    EXPECT_TRUE(scanner.find_key("scan.txt", "[ ! ] -> True"));
    EXPECT_FALSE(scanner.find_key("scan.txt", "[ ! ] -> False"));

    Sint32 position = 42;
    EXPECT_FALSE(scanner.find_key("missing.txt", "key", &position));
    EXPECT_EQ(position, 42);

    write_text("");
    EXPECT_FALSE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 42);
}

TEST_F(KeyScannerTest, RescansTheFileAsItIsNow)
{
    KeyScanner scanner;
    Sint32 position = 0;
    write_text("....key");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 7);
    write_text("key");
    EXPECT_TRUE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 3);
    write_text("no match here");
    EXPECT_FALSE(scanner.find_key("scan.txt", "key", &position));
    EXPECT_EQ(position, 3);
}
