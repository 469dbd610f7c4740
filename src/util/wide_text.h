// The system's UTF-16 for the program's UTF-8, at each call of a wide Windows function.
#pragma once
#include <string>

#include "util/utf8_text.h"

inline std::wstring Widen(const std::string& text) {
    std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(const wchar_t* text, size_t length) {
    return Utf8FromUtf16(std::u16string(text, text + length));
}

inline std::string Narrow(const std::wstring& text) { return Narrow(text.c_str(), text.size()); }
