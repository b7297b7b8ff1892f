#pragma once

class QApplication;

namespace loglezer {

// The viewer from its command line to the window's end: prints the help,
// the version or a usage error, or writes a chart's picture for --export,
// without opening a display; else opens the window on the log named or
// found, or says that there is no display to open it on. An allocation
// failure ends it with "loglezer: out of memory". Returns the exit code.
int run_program(int& argc, char** argv);

// The one line that every allocation failure of the viewer ends with.
inline constexpr const char* kOutOfMemoryLine = "loglezer: out of memory\n";

// Ends the program at once with that line on standard error and exit
// status 1: for a failure inside a handler of the running window, where
// neither a box (which needs memory) nor an exception through Qt's event
// loop can be relied on.
[[noreturn]] void end_out_of_memory();

// Loads Qt's own Dutch texts (the buttons of the message boxes, the save
// dialog and its questions), so that they speak the window's language
// whatever the system's. Without the translation file the dialogs stay in
// English; returns whether it was found.
bool install_dutch_qt_texts(QApplication& app);

}  // namespace loglezer
