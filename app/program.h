#pragma once

class QApplication;

namespace loglezer {

// The viewer from its command line to the window's end: prints the help,
// the version or a usage error, or writes a chart's picture for --export,
// without opening a display; else opens the window on the log named or
// found. Returns the exit code.
int run_program(int& argc, char** argv);

// Loads Qt's own Dutch texts (the buttons of the message boxes, the save
// dialog and its questions), so that they speak the window's language
// whatever the system's. Without the translation file the dialogs stay in
// English; returns whether it was found.
bool install_dutch_qt_texts(QApplication& app);

}  // namespace loglezer
