// A settings block held whole as packed little-endian bytes, so that the runs of an older
// configuration can be copied into it as they stand. Typed fields are read and written at their
// byte offsets; the layouts of the blocks are in settings_blocks.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cfg {

// A value of type T (int8_t, uint8_t, int16_t, uint16_t, int32_t, uint32_t, double or char) at a
// byte offset of its block.
template <typename T>
struct Field {
  std::size_t offset;
};

// `count` values of type T one after another from `offset`.
template <typename T>
struct ArrayField {
  std::size_t offset;
  std::size_t count;
  constexpr Field<T> operator[](std::size_t i) const { return Field<T>{offset + i * sizeof(T)}; }
  constexpr std::size_t End() const { return offset + count * sizeof(T); }
};

// A text of at most `width` bytes (code page 1251) in `width` bytes: NUL-padded when shorter,
// without a NUL when it fills the field.
struct TextField {
  std::size_t offset;
  std::size_t width;
  constexpr std::size_t End() const { return offset + width; }
};

template <typename T>
constexpr std::size_t EndOf(Field<T> f) {
  return f.offset + sizeof(T);
}
template <typename T>
constexpr std::size_t EndOf(ArrayField<T> f) {
  return f.End();
}
constexpr std::size_t EndOf(TextField f) { return f.End(); }

class ByteBlock {
 public:
  ByteBlock() = default;
  explicit ByteBlock(std::size_t size) : bytes_(size, '\0') {}

  std::size_t Size() const { return bytes_.size(); }
  std::string_view Bytes() const { return bytes_; }
  // Copies `run` into the block from `offset`; what would pass the block's end is dropped.
  void CopyIn(std::size_t offset, std::string_view run);
  void Clear() { bytes_.assign(bytes_.size(), '\0'); }

  // A field that does not lie inside the block reads as zero and is not written.
  template <typename T>
  T Get(Field<T> f) const;
  template <typename T>
  void Set(Field<T> f, T value);
  // The text up to its first NUL, or all `width` bytes.
  std::string Get(TextField f) const;
  // Writes at most `width` bytes of the text, NUL-padded. A text equal to what the field holds
  // leaves its bytes as they are (bytes past the NUL of an older configuration included), so a
  // field read and written back is unchanged.
  void Set(TextField f, std::string_view text);

  bool operator==(const ByteBlock&) const = default;

 private:
  std::string bytes_;
};

}  // namespace cfg
