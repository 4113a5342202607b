// Small sets over an enumeration (up to 32 members), for option sets such as TCommOptions.
// The bit of each member is its enumeration value, so Bits() is the set's stored form.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
requires std::is_enum_v<E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E m : members) bits_ |= Bit(m);
    }
    static constexpr TSet FromBits(std::uint32_t bits)
    {
        TSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr bool Contains(E m) const { return (bits_ & Bit(m)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr void Clear() { bits_ = 0; }

    // Include and exclude, chainable: Options << coParityCheck << coNullStrip;
    constexpr TSet& operator<<(E m)
    {
        bits_ |= Bit(m);
        return *this;
    }
    constexpr TSet& operator>>(E m)
    {
        bits_ &= ~Bit(m);
        return *this;
    }

    // Union, difference, intersection.
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }

private:
    static constexpr std::uint32_t Bit(E m) { return std::uint32_t(1) << static_cast<unsigned>(m); }
    std::uint32_t bits_ = 0;
};
