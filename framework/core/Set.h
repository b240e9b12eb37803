#pragma once
// A small set of enumeration values, the way component state, control state
// and font styles are kept: a bit per value, tested with Contains.

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace zel {

// E must be an enumeration whose values lie in 0..63.
template <class E> class TSet {
  static_assert(std::is_enum_v<E>, "TSet holds enumeration values");

public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values)
      FBits |= Bit(v);
  }

  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E v) {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr uint64_t Bits() const { return FBits; }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }

  // Union, difference and intersection, as the set operators +, - and *.
  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
  friend constexpr TSet operator+(TSet a, E v) { return a.Include(v); }
  friend constexpr TSet operator-(TSet a, E v) { return a.Exclude(v); }
  constexpr TSet& operator+=(TSet b) { return *this = *this + b; }
  constexpr TSet& operator-=(TSet b) { return *this = *this - b; }
  constexpr TSet& operator+=(E v) { return Include(v); }
  constexpr TSet& operator-=(E v) { return Exclude(v); }
  friend constexpr bool operator==(TSet a, TSet b) = default;

private:
  static constexpr uint64_t Bit(E v) { return uint64_t(1) << static_cast<unsigned>(v); }
  uint64_t FBits = 0;
};

} // namespace zel
