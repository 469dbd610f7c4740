// UTF-8 inside, UTF-16 at the edge: the conversion between the two, free of any system call.
#pragma once
#include <string>

// Every sequence of 16-bit units survives the trip through UTF-8, lone surrogates included
// (Windows file names may hold them): a lone surrogate is written as its own three bytes.
std::string Utf8FromUtf16(const std::u16string& text);
// Bytes that are no UTF-8 become U+FFFD each; the three-byte form of a surrogate comes back as it.
std::u16string Utf16FromUtf8(const std::string& text);
