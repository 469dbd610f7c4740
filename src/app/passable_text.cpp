// What java.exe can be given.
#include "app/passable_text.h"

#include <windows.h>

#include <vector>

#include "util/ansi_text.h"
#include "util/module_files.h"
#include "util/wide_text.h"

namespace {

bool ShortName(const std::string& path, std::string& shortName) {
    std::wstring wide = Widen(path);
    DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0) return false;
    std::vector<wchar_t> buffer(length, L'\0');
    length = GetShortPathNameW(wide.c_str(), buffer.data(), length);
    if (length == 0 || length >= buffer.size()) return false;
    shortName = Narrow(buffer.data(), length);
    return true;
}

}  // namespace

bool PassableText(const std::string& text, std::string& passable) {
    std::string ansi;
    if (Utf8ToAnsi(text, ansi)) {
        passable = text;
        return true;
    }
    // A volume with short names switched off hands back the long name, which fails here again.
    std::string shortName, shortAnsi;
    if (FileExists(text) && ShortName(text, shortName) && Utf8ToAnsi(shortName, shortAnsi)) {
        passable = shortName;
        return true;
    }
    passable = AnsiToUtf8(ansi);
    return false;
}
