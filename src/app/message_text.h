// Text rules of the launcher's messages: the inserts of a string-table text, and the last lines
// of what Java wrote.
#pragma once
#include <string>
#include <vector>

// "%1" to "%9" replaced by the inserts (one that is missing by nothing); any other text verbatim.
std::string FillText(const std::string& text, const std::vector<std::string>& inserts);

// The last `count` lines that are not blank, joined by "\n"; CR, LF and CRLF each end a line.
// A line longer than `width` bytes is cut there, never inside a UTF-8 sequence, and ends in "...".
std::string LastLines(const std::string& text, size_t count, size_t width);
