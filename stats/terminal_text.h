#pragma once

#include <string>
#include <string_view>

namespace loglezer {

// Texts from the log or a command line on their way to a terminal. Log bytes
// are single bytes shown as Latin-1; the terminal takes UTF-8.

// Log bytes as UTF-8, each byte one Latin-1 character.
std::string utf8_from_latin1(std::string_view text);
// Whether the bytes are valid UTF-8.
bool is_utf8(std::string_view text);

// The text as it may reach a terminal: control characters (U+0000 to U+001F,
// U+007F and U+0080 to U+009F) become '?', so that no text from a log or a
// command line can clear the screen, move the cursor or set the window title.
// `utf8` must be valid UTF-8.
std::string terminal_text(std::string_view utf8);

// A message for standard error as terminal text. The message is taken as
// UTF-8 when it is valid UTF-8 (a file name) and as Latin-1 log bytes
// otherwise, as the window takes it.
std::string message_text(std::string_view message);

}  // namespace loglezer
