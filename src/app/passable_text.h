// What java.exe can be given: it reads its command line through the ANSI code page.
#pragma once
#include <string>

// The text itself when the ANSI code page holds it exactly. Otherwise, when it names an
// existing file or folder, its short 8.3 name, which names the same file in plain characters,
// provided that converts exactly. Otherwise the text with the code page's default character
// for each character it cannot hold, and false: the text did not pass whole. Never a
// look-alike, so never a quotation mark that the text did not hold. UTF-8 in and out.
bool PassableText(const std::string& text, std::string& passable);
