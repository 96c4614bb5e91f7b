// Character lists and the key scanner over arbitrary file bytes and keys.
// Input: one byte giving the key's length (up to 32), the key, then the
// file's bytes.
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "persist/char_list.h"
#include "persist/key_scanner.h"

using namespace fuzzsupport;

namespace {

const char kTextFile[] = "text.bin";
const std::int32_t kUntouched = -7;

// The search as documented: the earliest occurrence wins, and an empty
// text holds no key, not even an empty one.
bool expected_search(const std::string& text, const char* key, std::int32_t& position)
{
    if (text.empty()) {
        return false;
    }
    const std::string::size_type at = text.find(key);
    if (at == std::string::npos) {
        return false;
    }
    position = static_cast<std::int32_t>(at + std::strlen(key));
    return true;
}

void check_find_key(KeyScanner& scanner, const std::string& file_bytes, const char* key)
{
    write_file(kTextFile, file_bytes);
    std::int32_t expected = kUntouched;
    const bool expected_found = expected_search(as_read(file_bytes), key, expected);

    std::int32_t position = kUntouched;
    FUZZ_CHECK(scanner.find_key(kTextFile, key, &position) == expected_found);
    FUZZ_CHECK(position == expected);
    FUZZ_CHECK(scanner.find_key(kTextFile, key) == expected_found);
}

void check_file_reading(const std::string& file_bytes)
{
    write_file(kTextFile, file_bytes);
    std::FILE* file = std::fopen(kTextFile, "r");
    FUZZ_CHECK(file != nullptr);
    CharList list;
    list.append_file(file);
    std::fclose(file);

    const std::string text = as_read(file_bytes);
    FUZZ_CHECK(list.to_bytes() == text);
    FUZZ_CHECK(list.count() == static_cast<std::int32_t>(text.size()));
    FUZZ_CHECK(list.is_empty() == text.empty());
    if (text.empty()) {
        return;
    }
    const std::int32_t count = list.count();
    for (std::int32_t index : {std::int32_t{0}, count / 2, count - 1, count, count + 9}) {
        const std::string::size_type expected = index < count ? index : count - 1;
        FUZZ_CHECK(list.node_at(index)->value() == text[expected]);
    }
    // The search in memory agrees with the one through the file.
    std::int32_t position = kUntouched;
    std::int32_t expected = kUntouched;
    const std::string key = text.substr(count / 3, 3);
    FUZZ_CHECK(KeyScanner::search(list, key.c_str(), &position) ==
               expected_search(text, key.c_str(), expected));
    FUZZ_CHECK(position == expected);
}

void check_list_operations(const std::string& key, const std::string& file_bytes)
{
    CharList front;
    front.assign(key.c_str());
    FUZZ_CHECK(front.to_bytes() == std::string(key.c_str()));

    CharList back;
    back.append_bytes(file_bytes);
    FUZZ_CHECK(back.to_bytes() == file_bytes);
    back.append('!');

    const std::string joined = front.to_bytes() + back.to_bytes();
    front.append_list(back);
    FUZZ_CHECK(back.is_empty());
    FUZZ_CHECK(front.to_bytes() == joined);
    front.append_list(back);
    FUZZ_CHECK(front.to_bytes() == joined);

    front.clear();
    FUZZ_CHECK(front.is_empty() && front.count() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enter_private_game_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    // The key is a C string: it ends at its first NUL byte.
    const std::string key = input.bytes(input.byte() % 33);
    const std::string file_bytes = input.rest();

    check_file_reading(file_bytes);
    check_list_operations(key, file_bytes);

    // One scanner for several searches: each reports positions in the text
    // of the file as it is now, and a missing file changes nothing.
    KeyScanner scanner;
    check_find_key(scanner, file_bytes, key.c_str());
    check_find_key(scanner, std::string(file_bytes.rbegin(), file_bytes.rend()), key.c_str());
    remove_file(kTextFile);
    std::int32_t position = kUntouched;
    FUZZ_CHECK(!scanner.find_key(kTextFile, key.c_str(), &position));
    FUZZ_CHECK(position == kUntouched);
    return 0;
}
