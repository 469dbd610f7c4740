// The ANSI code page, where text must pass through it.
#include "util/ansi_text.h"

#include <windows.h>

#include "util/wide_text.h"

std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], length);
    return Narrow(wide);
}

bool Utf8ToAnsi(const std::string& text, std::string& ansi) {
    ansi.clear();
    if (text.empty()) return true;
    std::wstring wide = Widen(text);
    // Where the code page is UTF-8 itself, Windows refuses both the flag and the question.
    bool utf8 = GetACP() == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askDefault = utf8 ? nullptr : &usedDefault;
    int size = static_cast<int>(wide.size());
    int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, askDefault);
    if (bytes <= 0) return false;
    ansi.assign(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, &ansi[0], bytes, nullptr, askDefault);
    // Exact only when the bytes read back as the same characters.
    return usedDefault == FALSE && AnsiToUtf8(ansi) == text;
}
