// SHA-256 (FIPS 180-4) of bytes and of files, as `sha256sum` prints it: 64 lower-case hex digits.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

std::string Sha256Hex(std::string_view bytes);
// Reads the file in pieces; nothing when it cannot be opened or read to its end.
std::optional<std::string> Sha256HexOfFile(const std::filesystem::path& path);
