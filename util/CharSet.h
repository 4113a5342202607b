// A set of characters (codes 0 to 255), the delimiter and switch sets that the word and
// command-line routines take.
#pragma once

#include <bitset>
#include <initializer_list>
#include <string_view>

class TCharSet {
public:
    TCharSet() = default;
    TCharSet(std::initializer_list<char> Members)
    {
        for (char c : Members) Include(c);
    }
    // Every character of Members: TCharSet(" ,;").
    explicit TCharSet(std::string_view Members)
    {
        for (char c : Members) Include(c);
    }

    bool Contains(char C) const { return bits_.test(static_cast<unsigned char>(C)); }
    bool Empty() const { return bits_.none(); }
    TCharSet& Include(char C)
    {
        bits_.set(static_cast<unsigned char>(C));
        return *this;
    }

private:
    std::bitset<256> bits_;
};
