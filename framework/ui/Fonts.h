#pragma once

#include <string>

namespace fw {

// The font families installed on the machine, in the order the platform
// lists them, each named once; generic names such as "Serif", which stand
// for one of them, are not listed. Each call reads the list afresh, so fonts
// installed while the program runs are counted at the next call.
int FontCount();
// The name of font i, counted from 0; "" for an index out of range.
std::string Font(int index);

}  // namespace fw
