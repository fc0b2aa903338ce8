// Build step: converts the UTF-8 message catalogue into the C++ table of code page 1251 texts.
// Usage: generate_message_table <catalogue.tsv> <output.cpp>
// On any error prints "<catalogue>:<line>: ..." and exits with status 1, leaving no output file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "foundation/messages/catalogue_source.h"

namespace {

bool ReadFile(const std::string& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes beside the target and renames, so that a failed run never leaves a half-written table.
bool WriteFile(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) std::remove(temporary.c_str());
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: generate_message_table <catalogue.tsv> <output.cpp>\n";
    return 2;
  }
  const std::string input = argv[1];
  const std::string output = argv[2];
  std::string source;
  if (!ReadFile(input, source)) {
    std::cerr << input << ": cannot read the message catalogue\n";
    return 1;
  }
  MessageCatalogueSource catalogue;
  std::string error;
  if (!ParseMessageCatalogue(source, catalogue, error)) {
    std::cerr << input << ": error: " << error << '\n';
    return 1;
  }
  if (!WriteFile(output, WriteMessageTableSource(catalogue))) {
    std::cerr << output << ": cannot write the message table\n";
    return 1;
  }
  return 0;
}
