#pragma once
// The regions of the main window that F6 moves between: the title and tool
// bar, the key view, the lighting panel and the bottom bar, where the skin's
// "ARTWORK" section places the panels behind them.

#include <string>

#include "controls/ScreenOrderFocus.h"

namespace keyloom::shell {

controls::ScreenOrderFocus::RegionOf mainWindowRegions(const std::string& skinFile);

}  // namespace keyloom::shell
