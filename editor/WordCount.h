#pragma once

#include <string_view>

// The number of words in a text: maximal runs of characters that are not
// white space (blanks, tabs, line breaks and the other Unicode white space).
// Text that is empty or white space only has none.
long CountWords(std::string_view utf8);
