// The source form of the message catalogue (resources/messages.tsv) and its conversion into the
// table compiled into the program. Used by the build-time generator; kept in the library so that
// the rules of the source form are tested with the rest of the foundation.
//
// Source form: UTF-8 text, one row per message, "number<TAB>text". In the text "\n" stands for a
// line break, "\t" for a tab and "\\" for a backslash; any other backslash sequence is an error.
// Lines starting with '#' are comments; empty lines are skipped. Numbers are decimal, 0..2161,
// strictly ascending; a number left out has an empty text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MessageCatalogueSource {
  // Index = message number, 0..kLastMessageNumber; code page 1251 bytes, empty for an absent
  // number.
  std::vector<std::string> texts;
};

// Parses the source form. On failure returns false and sets `error` to a one-line description
// naming the line ("line 12: ..."); `out` is then unspecified.
bool ParseMessageCatalogue(std::string_view utf8Source, MessageCatalogueSource& out,
                           std::string& error);

// The C++ source of the compiled table: the definition of kMessageTable (message_table.h) with
// every text as an escaped code page 1251 byte string.
std::string WriteMessageTableSource(const MessageCatalogueSource& catalogue);
