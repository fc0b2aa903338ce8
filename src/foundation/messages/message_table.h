// The compiled message catalogue, generated at build time from resources/messages.tsv.
#pragma once

#include <string_view>

#include "foundation/messages/messages.h"

namespace message_table {

// Index = message number; code page 1251 bytes; empty for a number the catalogue does not use.
extern const std::string_view kMessageTable[kLastMessageNumber + 1];

}  // namespace message_table
