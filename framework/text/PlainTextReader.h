#pragma once

#include "framework/text/StyledText.h"

#include <string_view>

namespace fw {

// Reads plain text: UTF-16 or UTF-32 of either byte order when the bytes
// begin with its byte order mark, else UTF-8 (a byte order mark is dropped)
// or, when the bytes are not valid UTF-8, Windows-1252. In UTF-16 and UTF-32
// a unit that is no character (a lone surrogate, a value above U+10FFFF, the
// bytes of a last unfinished unit) reads as U+FFFD. CR LF, LF and CR each end
// a paragraph, as does U+2029; a final line end adds no empty paragraph. NUL
// characters are dropped. Every run has the default style (no font, size 0,
// no colour).
StyledText ReadPlainText(std::string_view bytes);

// Whether the bytes are text: no control character other than white space
// (tab, line feed, vertical tab, form feed, carriage return), escape (which
// colours terminal logs) and the DOS end-of-file mark. A NUL, which no text
// holds and every program's binary does, makes them not text. UTF-16 and
// UTF-32 with their byte order mark are judged by their characters.
bool IsPlainText(std::string_view bytes);

}  // namespace fw
