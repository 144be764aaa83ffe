// TSet<E>: a set of enumeration values stored as bits by element ordinal
// (elements 0 to 31).
#pragma once

#include <initializer_list>

#include "rtl/types.h"

namespace brevant {

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elements) {
    for (E e : elements) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(Cardinal bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr Cardinal Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
  friend constexpr TSet operator+(TSet a, E e) { return a.Include(e); }
  friend constexpr TSet operator-(TSet a, E e) { return a.Exclude(e); }
  TSet& operator+=(TSet b) { return *this = *this + b; }
  TSet& operator-=(TSet b) { return *this = *this - b; }
  TSet& operator+=(E e) { return Include(e); }
  TSet& operator-=(E e) { return Exclude(e); }
  // a <= b: every element of a is in b.
  friend constexpr bool operator<=(TSet a, TSet b) { return (a.bits_ & ~b.bits_) == 0; }
  friend constexpr bool operator==(TSet a, TSet b) = default;

 private:
  static constexpr Cardinal Bit(E e) { return Cardinal(1) << (static_cast<unsigned>(e) & 31u); }
  Cardinal bits_ = 0;
};

}  // namespace brevant
