// Texts from the running program's own string table.
#include "framework/string_table.h"

#include <windows.h>

#include "util/wide_text.h"

std::string LoadText(unsigned id) {
    // With a zero buffer size LoadStringW hands back a pointer into the resource itself, so
    // no entry is ever cut to a fixed buffer.
    const wchar_t* resource = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) return std::string();
    return Narrow(resource, static_cast<size_t>(length));
}
