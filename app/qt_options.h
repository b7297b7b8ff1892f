#pragma once

#include <string>
#include <vector>

namespace loglezer {

// The command line less Qt's own options (-style, -platform, -reverse and
// the others Qt's application reads), found without any application object.
struct WithoutQtOptions {
    // The other arguments in their order, the program's name first.
    std::vector<std::string> rest;
    // Whether a Qt option names a platform (-platform) or an X display
    // (-display): the window can then open without DISPLAY being set.
    bool display_named = false;
};

// Takes Qt's options out of `args` as Qt's application does: anywhere on
// the line (also after "--"), with one or two dashes, an option's value in
// the next argument (or after "=" for -style, -stylesheet and
// -qmljsdebugger). The options of X11 alone (-display, -geometry, -title,
// -icon, -name, -visual, -nograb, -dograb, -sync) are taken on every
// platform. Throws UsageError when an option that takes a value ends the
// line.
WithoutQtOptions take_qt_options(const std::vector<std::string>& args);

}  // namespace loglezer
