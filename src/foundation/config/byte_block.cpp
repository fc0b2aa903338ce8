#include "foundation/config/byte_block.h"

#include <algorithm>
#include <type_traits>

#include "foundation/files/binary_io.h"

namespace cfg {

namespace {

template <typename T>
T ReadValue(BinaryReader& in) {
  if constexpr (std::is_same_v<T, double>) {
    return in.F64();
  } else if constexpr (std::is_same_v<T, char>) {
    return in.Char();
  } else if constexpr (sizeof(T) == 1) {
    return static_cast<T>(in.U8());
  } else if constexpr (sizeof(T) == 2) {
    return static_cast<T>(in.U16());
  } else {
    static_assert(sizeof(T) == 4, "fields are 1, 2, 4 or 8 bytes wide");
    return static_cast<T>(in.U32());
  }
}

template <typename T>
void WriteValue(BinaryWriter& out, T v) {
  if constexpr (std::is_same_v<T, double>) {
    out.F64(v);
  } else if constexpr (std::is_same_v<T, char>) {
    out.Char(v);
  } else if constexpr (sizeof(T) == 1) {
    out.U8(static_cast<std::uint8_t>(v));
  } else if constexpr (sizeof(T) == 2) {
    out.U16(static_cast<std::uint16_t>(v));
  } else {
    static_assert(sizeof(T) == 4, "fields are 1, 2, 4 or 8 bytes wide");
    out.U32(static_cast<std::uint32_t>(v));
  }
}

}  // namespace

void ByteBlock::CopyIn(std::size_t offset, std::string_view run) {
  if (offset >= bytes_.size()) return;
  const std::size_t n = std::min(run.size(), bytes_.size() - offset);
  bytes_.replace(offset, n, run.substr(0, n));
}

template <typename T>
T ByteBlock::Get(Field<T> f) const {
  if (f.offset > bytes_.size() || bytes_.size() - f.offset < sizeof(T)) return T{};
  BinaryReader in(std::string_view(bytes_).substr(f.offset, sizeof(T)));
  return ReadValue<T>(in);
}

template <typename T>
void ByteBlock::Set(Field<T> f, T value) {
  if (f.offset > bytes_.size() || bytes_.size() - f.offset < sizeof(T)) return;
  BinaryWriter out;
  WriteValue<T>(out, value);
  bytes_.replace(f.offset, sizeof(T), out.Data());
}

std::string ByteBlock::Get(TextField f) const {
  if (f.offset > bytes_.size() || bytes_.size() - f.offset < f.width) return {};
  BinaryReader in(std::string_view(bytes_).substr(f.offset, f.width));
  return in.FixedText(f.width);
}

void ByteBlock::Set(TextField f, std::string_view text) {
  if (f.offset > bytes_.size() || bytes_.size() - f.offset < f.width) return;
  if (Get(f) == text) return;
  BinaryWriter out;
  out.FixedText(text, f.width, false);
  bytes_.replace(f.offset, f.width, out.Data());
}

#define VELM_BLOCK_FIELD_TYPE(T)                  \
  template T ByteBlock::Get<T>(Field<T> f) const; \
  template void ByteBlock::Set<T>(Field<T> f, T value);
VELM_BLOCK_FIELD_TYPE(std::int8_t)
VELM_BLOCK_FIELD_TYPE(std::uint8_t)
VELM_BLOCK_FIELD_TYPE(char)
VELM_BLOCK_FIELD_TYPE(std::int16_t)
VELM_BLOCK_FIELD_TYPE(std::uint16_t)
VELM_BLOCK_FIELD_TYPE(std::int32_t)
VELM_BLOCK_FIELD_TYPE(std::uint32_t)
VELM_BLOCK_FIELD_TYPE(double)
#undef VELM_BLOCK_FIELD_TYPE

}  // namespace cfg
