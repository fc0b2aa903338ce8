// Showing a catalogue message: a box with one OK button through the installed prompter, keyed by
// the message's number so that scripted answers and records know which message it was.
#pragma once

#include <string_view>

#include "platform/core/prompter.h"

// Shows catalogue message `number` as it stands. Returns `number`, so that a refusal is shown and
// returned in one statement.
int ShowMessage(int number, platform::Icon icon = platform::Icon::Warning);

// Shows `text` (code page 1251: message `number` with its particulars filled in) under the number
// `number`; returns `number`.
int ShowMessage(int number, std::string_view text, platform::Icon icon = platform::Icon::Warning);
