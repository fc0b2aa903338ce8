// Little-endian binary records, written and read field by field with explicit widths. A struct's
// memory is never written as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class BinaryWriter {
 public:
  void U8(std::uint8_t v) { bytes_ += static_cast<char>(v); }
  void Char(char v) { bytes_ += v; }
  void U16(std::uint16_t v) { Le(v, 2); }
  void I16(std::int16_t v) { Le(static_cast<std::uint16_t>(v), 2); }
  void U32(std::uint32_t v) { Le(v, 4); }
  void I32(std::int32_t v) { Le(static_cast<std::uint32_t>(v), 4); }
  void U64(std::uint64_t v) { Le(v, 8); }
  void F64(double v);
  void F32(float v);
  // Exactly `width` bytes: the text cut to width - 1 bytes when `terminated`, else to width,
  // padded with NULs.
  void FixedText(std::string_view text, std::size_t width, bool terminated = true);
  void Bytes(std::string_view raw) { bytes_.append(raw); }
  void Zeros(std::size_t n) { bytes_.append(n, '\0'); }

  const std::string& Data() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }
  std::size_t Size() const { return bytes_.size(); }

 private:
  void Le(std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  std::string bytes_;
};

// Reads from a byte buffer it does not own. A read past the end sets the failure flag, returns
// zero and stays failed; callers check Ok() once after a record.
class BinaryReader {
 public:
  explicit BinaryReader(std::string_view data) : data_(data) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(Le(1)); }
  char Char() { return static_cast<char>(Le(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Le(2)); }
  std::int16_t I16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(Le(2))); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Le(4)); }
  std::int32_t I32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Le(4))); }
  std::uint64_t U64() { return Le(8); }
  double F64();
  float F32();
  // `width` bytes; the text up to the first NUL.
  std::string FixedText(std::size_t width);
  // `n` raw bytes.
  std::string_view Bytes(std::size_t n);
  void Skip(std::size_t n);

  bool Ok() const { return ok_; }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  void Seek(std::size_t pos);

 private:
  std::uint64_t Le(int width);
  std::string_view data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};
