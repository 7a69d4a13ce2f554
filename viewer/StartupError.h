#pragma once

#include <stdexcept>

// A start-up condition the engine and the GUI would not report by themselves, such as a missing
// "plugins.cfg" or a widget missing from the layout. The message names the file or the widget.
class StartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
