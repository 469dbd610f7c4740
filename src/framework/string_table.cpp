// Texts from the running program's own string table.
#include "framework/string_table.h"

#include <windows.h>

std::string LoadText(unsigned id) {
    // With a zero buffer size LoadStringW hands back a pointer into the resource itself, so
    // no entry is ever cut to a fixed buffer; the ANSI text is made from it in the code page.
    const wchar_t* resource = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, resource, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, resource, length, &text[0], bytes, nullptr, nullptr);
    return text;
}
