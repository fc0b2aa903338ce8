// One table per settings block that pairs each member of a settings struct with the block field
// that stores it, so that reading the block and writing it back are both made from the one list:
//
//   constexpr cfg::FieldTable kFields{
//       cfg::Bind(&Page::grid, A::kGrid),
//       cfg::Bind(&Page::speed, A::kSpeed, cfg::InRange{0, 3}),
//       cfg::Bind(cfg::Element(&Page::lines, 2), A::kDscLine)};
//   kFields.Read(block, page);   kFields.Write(page, block);
//
// A member is reached by a member pointer, by cfg::Path (a member of a member) or by cfg::Element
// (an element of an array member). How a stored value becomes the member's value and back is the
// entry's conversion: AsIs unless another is named. A conversion is any type with
//   template <typename V, typename M> void Read(V stored, M& member) const;
//   template <typename V, typename M> V Write(const M& member) const;
// (V the field's value type), so a block with a rule of its own can define one beside its table.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <type_traits>

#include "foundation/config/byte_block.h"
#include "foundation/text/text_helpers.h"

namespace cfg {

template <typename F>
struct StoredOf;
template <typename T>
struct StoredOf<Field<T>> {
  using type = T;
};
template <typename T>
struct StoredOf<ArrayField<T>> {
  using type = T;
};
template <>
struct StoredOf<TextField> {
  using type = std::string;
};

// --- conversions ---------------------------------------------------------------------------------

// Read and written as they stand: a cast each way (a boolean is written as 0 or 1, and any nonzero
// value reads as true).
struct AsIs {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = static_cast<M>(stored);
  }
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(member);
  }
};

// A stored value outside lo..hi leaves the member as it was (the default of a fresh struct).
struct InRange : AsIs {
  int lo, hi;
  constexpr InRange(int low, int high) : lo(low), hi(high) {}
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    const auto value = static_cast<long long>(stored);
    if (value >= lo && value <= hi) member = static_cast<M>(stored);
  }
};

// A stored value is brought into lo..hi (a number that is not finite leaves the member as it
// was); the member is written as it stands.
template <typename T = int>
struct Clamp : AsIs {
  T lo, hi;
  constexpr Clamp(T low, T high) : lo(low), hi(high) {}
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    const T value = static_cast<T>(stored);
    if constexpr (std::is_floating_point_v<T>)
      if (!std::isfinite(value)) return;
    member = static_cast<M>(std::clamp(value, lo, hi));
  }
};

// Brought into lo..hi both when read and when written.
struct ClampBoth : Clamp<int> {
  using Clamp<int>::Clamp;
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(std::clamp(static_cast<int>(member), lo, hi));
  }
};

// Any nonzero stored value reads as 1.
struct NonZero : AsIs {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = static_cast<M>(stored != 0 ? 1 : 0);
  }
};

// Only a stored 1 reads as 1 (true); every other value as 0.
struct OnlyOne : AsIs {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = static_cast<M>(stored == 1 ? 1 : 0);
  }
};

// An integer written into a narrower field is held at the field's nearest limit.
struct Saturate : AsIs {
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(std::clamp<long long>(member, std::numeric_limits<V>::min(),
                                                std::numeric_limits<V>::max()));
  }
};

// A text without its trailing blanks, each way.
struct Trimmed {
  template <typename V, typename M>
  void Read(const V& stored, M& member) const {
    member = TrimmedRight(stored);
  }
  template <typename V, typename M>
  V Write(const M& member) const {
    return TrimmedRight(member);
  }
};

// --- reaching a member ---------------------------------------------------------------------------

// The member `inner` of the member `outer`.
template <typename O, typename I>
struct Path {
  O outer;
  I inner;
  template <typename S>
  constexpr auto& operator()(S& s) const {
    return std::invoke(inner, std::invoke(outer, s));
  }
};
// Deduction guides: compilers without C++20's deduction for aggregates need them.
template <typename O, typename I>
Path(O, I) -> Path<O, I>;

// Element `index` of the array member `array`.
template <typename A>
struct Element {
  A array;
  std::size_t index;
  template <typename S>
  constexpr auto& operator()(S& s) const {
    return std::invoke(array, s)[index];
  }
};
template <typename A>
Element(A, std::size_t) -> Element<A>;

// --- the table -----------------------------------------------------------------------------------

// One member and its field. An array member and an array field go element by element, as far as
// the shorter reaches.
template <typename Access, typename F, typename C>
struct Binding {
  Access access;
  F field;
  C conversion;

  template <typename S>
  void Read(const ByteBlock& b, S& s) const {
    auto& member = std::invoke(access, s);
    if constexpr (std::is_same_v<F, ArrayField<typename StoredOf<F>::type>>) {
      for (std::size_t i = 0; i < std::min(member.size(), field.count); ++i)
        conversion.Read(b.Get(field[i]), member[i]);
    } else {
      conversion.Read(b.Get(field), member);
    }
  }

  template <typename S>
  void Write(const S& s, ByteBlock& b) const {
    using V = typename StoredOf<F>::type;
    const auto& member = std::invoke(access, s);
    if constexpr (std::is_same_v<F, ArrayField<V>>) {
      for (std::size_t i = 0; i < std::min(member.size(), field.count); ++i)
        b.Set(field[i], conversion.template Write<V>(member[i]));
    } else {
      b.Set(field, conversion.template Write<V>(member));
    }
  }
};

template <typename Access, typename F, typename C = AsIs>
constexpr Binding<Access, F, C> Bind(Access access, F field, C conversion = {}) {
  return {access, field, conversion};
}

template <typename... B>
class FieldTable {
 public:
  constexpr explicit FieldTable(B... bindings) : bindings_(bindings...) {}

  // Every member from its field, in the table's order.
  template <typename S>
  void Read(const ByteBlock& block, S& s) const {
    std::apply([&](const auto&... b) { (b.Read(block, s), ...); }, bindings_);
  }
  // Every member into its field; the bytes no entry names stay as they are.
  template <typename S>
  void Write(const S& s, ByteBlock& block) const {
    std::apply([&](const auto&... b) { (b.Write(s, block), ...); }, bindings_);
  }

 private:
  std::tuple<B...> bindings_;
};

}  // namespace cfg
