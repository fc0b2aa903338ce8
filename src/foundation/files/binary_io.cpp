#include "foundation/files/binary_io.h"

#include <bit>
#include <cstring>

void BinaryWriter::F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }
void BinaryWriter::F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }

void BinaryWriter::FixedText(std::string_view text, std::size_t width, bool terminated) {
  if (width == 0) return;
  const std::size_t room = terminated ? width - 1 : width;
  std::size_t n = text.size() < room ? text.size() : room;
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos && nul < n) n = nul;
  bytes_.append(text.substr(0, n));
  bytes_.append(width - n, '\0');
}

std::uint64_t BinaryReader::Le(int width) {
  if (!ok_ || Remaining() < static_cast<std::size_t>(width)) {
    ok_ = false;
    return 0;
  }
  std::uint64_t v = 0;
  for (int i = 0; i < width; ++i)
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
  pos_ += width;
  return v;
}

double BinaryReader::F64() { return std::bit_cast<double>(U64()); }
float BinaryReader::F32() { return std::bit_cast<float>(U32()); }

std::string BinaryReader::FixedText(std::size_t width) {
  const std::string_view raw = Bytes(width);
  const std::size_t nul = raw.find('\0');
  return std::string(nul == std::string_view::npos ? raw : raw.substr(0, nul));
}

std::string_view BinaryReader::Bytes(std::size_t n) {
  if (!ok_ || Remaining() < n) {
    ok_ = false;
    pos_ = data_.size();
    return {};
  }
  const std::string_view out = data_.substr(pos_, n);
  pos_ += n;
  return out;
}

void BinaryReader::Skip(std::size_t n) { (void)Bytes(n); }

void BinaryReader::Seek(std::size_t pos) {
  if (pos > data_.size()) {
    ok_ = false;
    pos_ = data_.size();
  } else {
    pos_ = pos;
  }
}
