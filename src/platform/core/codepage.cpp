#include "platform/core/codepage.h"

namespace platform {
namespace {

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

}  // namespace

char32_t UnicodeOfCp1251(unsigned char c) {
  if (c < 0x80) return c;
  if (c >= 0xC0) return 0x0410 + (c - 0xC0);
  return kCp1251High[c - 0x80];
}

bool Cp1251OfUnicode(char32_t u, unsigned char& out) {
  if (u < 0x80) {
    out = static_cast<unsigned char>(u);
    return true;
  }
  if (u >= 0x0410 && u <= 0x044F) {
    out = static_cast<unsigned char>(0xC0 + (u - 0x0410));
    return true;
  }
  for (int i = 0; i < 64; ++i) {
    if (kCp1251High[i] == u && u != 0xFFFD) {
      out = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

char32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(pos);
  int extra = 0;
  char32_t u = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    u = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    u = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    u = lead & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    if (pos + i >= s.size() || (byte(pos + i) & 0xC0) != 0x80) {
      pos += i;
      return 0xFFFD;
    }
    u = (u << 6) | (byte(pos + i) & 0x3F);
  }
  pos += extra + 1;
  return u;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(out, UnicodeOfCp1251(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8, bool* lossless) {
  std::string out;
  out.reserve(utf8.size());
  bool all = true;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t u = DecodeUtf8(utf8, pos);
    unsigned char c = '?';
    if (u == 0xFFFD || !Cp1251OfUnicode(u, c)) {
      all = false;
      c = '?';
    }
    out += static_cast<char>(c);
  }
  if (lossless) *lossless = all;
  return out;
}

}  // namespace platform
