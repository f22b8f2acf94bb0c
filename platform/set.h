// Set<E>: the class library's "set of" for plain enums whose values lie in 0..63,
// kept as one 64-bit mask: Set<TFontStyle>{fsBold, fsItalic}.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <type_traits>

#include "platform/exceptions.h"

[[noreturn]] inline void SetElementRangeError(long long value) {
  throw Exception("Set element out of range (" + std::to_string(value) + ")");
}

template <class E>
class Set {
  static_assert(std::is_enum_v<E>, "Set holds enumeration values");

 public:
  using Mask = std::uint64_t;

  constexpr Set() = default;
  // One element converts implicitly, so `s + csLoading` and `s == fsBold` read naturally.
  constexpr Set(E item) : bits_(Bit(item)) {}
  constexpr Set(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr Set FromMask(Mask bits) {
    Set s;
    s.bits_ = bits;
    return s;
  }
  constexpr Mask ToMask() const { return bits_; }

  constexpr bool Contains(E item) const { return (bits_ & Bit(item)) != 0; }
  constexpr Set& Include(E item) {
    bits_ |= Bit(item);
    return *this;
  }
  constexpr Set& Exclude(E item) {
    bits_ &= ~Bit(item);
    return *this;
  }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr int Count() const { return std::popcount(bits_); }
  // True when every element of other is in this set (the class library's <=, turned around).
  constexpr bool ContainsAll(Set other) const { return (bits_ & other.bits_) == other.bits_; }

  friend constexpr Set operator+(Set a, Set b) { return FromMask(a.bits_ | b.bits_); }
  friend constexpr Set operator-(Set a, Set b) { return FromMask(a.bits_ & ~b.bits_); }
  friend constexpr Set operator*(Set a, Set b) { return FromMask(a.bits_ & b.bits_); }
  constexpr Set& operator+=(Set b) { return *this = *this + b; }
  constexpr Set& operator-=(Set b) { return *this = *this - b; }
  constexpr Set& operator*=(Set b) { return *this = *this * b; }
  friend constexpr bool operator==(Set a, Set b) { return a.bits_ == b.bits_; }

  // Walks the elements in ascending order of their values.
  class iterator {
   public:
    using value_type = E;
    using difference_type = std::ptrdiff_t;
    using iterator_category = std::forward_iterator_tag;
    constexpr iterator() = default;
    constexpr explicit iterator(Mask rest) : rest_(rest) {}
    constexpr E operator*() const { return static_cast<E>(std::countr_zero(rest_)); }
    constexpr iterator& operator++() {
      rest_ &= rest_ - 1;
      return *this;
    }
    constexpr iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    friend constexpr bool operator==(iterator a, iterator b) { return a.rest_ == b.rest_; }

   private:
    Mask rest_ = 0;
  };
  constexpr iterator begin() const { return iterator(bits_); }
  constexpr iterator end() const { return iterator(0); }

 private:
  static constexpr Mask Bit(E item) {
    auto v = static_cast<long long>(item);
    if (v < 0 || v > 63) SetElementRangeError(v);
    return Mask{1} << v;
  }
  Mask bits_ = 0;
};
