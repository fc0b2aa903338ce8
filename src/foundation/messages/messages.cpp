#include "foundation/messages/messages.h"

#include <array>

#include "foundation/messages/message_table.h"

int g_bRussianInterface = 1;

namespace {

using Texts = std::array<std::string, kLastMessageNumber + 1>;

// Built once, on first use; the texts live until the program ends so references stay valid.
const Texts& CatalogueTexts() {
  static const Texts* const texts = [] {
    auto* t = new Texts;
    for (int n = 0; n <= kLastMessageNumber; ++n) {
      (*t)[n] = std::string(message_table::kMessageTable[n]);
    }
    return t;
  }();
  return *texts;
}

}  // namespace

const std::string& GetMessageText(int n) {
  static const std::string empty;
  if (g_bRussianInterface == 0 || n < 0 || n > kLastMessageNumber) return empty;
  return CatalogueTexts()[n];
}
