#include "foundation/messages/show_message.h"

#include "foundation/messages/messages.h"

int ShowMessage(int number, platform::Icon icon) {
  platform::GetPrompter().ShowMessage(number, GetMessageText(number), icon);
  return number;
}

int ShowMessage(int number, std::string_view text, platform::Icon icon) {
  platform::GetPrompter().ShowMessage(number, text, icon);
  return number;
}
