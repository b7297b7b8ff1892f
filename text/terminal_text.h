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

// The one rule for the text of a message, which holds log text (single
// bytes) or a file name (UTF-8 on this system): the message as UTF-8 when it
// is valid UTF-8, else its bytes as Latin-1 log bytes. The window shows the
// result; standard error gets it as terminal text (message_text).
std::string message_utf8(std::string_view message);

// A message for standard error: message_utf8 as terminal text.
std::string message_text(std::string_view message);

}  // namespace loglezer
