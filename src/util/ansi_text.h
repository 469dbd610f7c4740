// The ANSI code page, where text must pass through it: exactly, or recognised as not convertible.
#pragma once
#include <string>

// Text in the ANSI code page as UTF-8.
std::string AnsiToUtf8(const std::string& ansi);

// UTF-8 text in the ANSI code page. True when every character converts exactly; otherwise the
// code page's default character stands for what it cannot hold, never a look-alike ("best
// fit" would turn Ω into O and a full-width quotation mark into a real one).
bool Utf8ToAnsi(const std::string& text, std::string& ansi);
