#pragma once
#include <string>
#include <string_view>

// How the user's language orders text: the system's collation in the
// program, a small table in the tests. Names are ordered with it, but it
// never sees a number: the order of names compares those by value.
class Collation {
public:
    virtual ~Collation() = default;

    // Appends text's sort key to key. Keys compare byte by byte, as unsigned
    // bytes and a key before any longer key it begins, in the order the
    // collation gives the texts; equal texts have equal keys. A key holds no
    // zero byte.
    virtual void AppendKey(std::wstring_view text, std::string& key) const = 0;
};
