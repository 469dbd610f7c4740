// Owner of one open registry key.
#include "settings/registry_key.h"

#include <vector>

#include "util/ansi_text.h"
#include "util/wide_text.h"

namespace {

// Text values arrive as UTF-16. Any other type is read as the bytes of a text in the ANSI code
// page, as a value written by an ANSI program reads; both end at the first zero.
std::string ValueText(const wchar_t* data, DWORD bytes, DWORD type) {
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        std::wstring text(data, bytes / sizeof(wchar_t));
        return Narrow(text.substr(0, text.find(L'\0')));
    }
    std::string raw(reinterpret_cast<const char*>(data), bytes);
    raw.resize(raw.find('\0') == std::string::npos ? raw.size() : raw.find('\0'));
    return AnsiToUtf8(raw);
}

}  // namespace

RegistryKey::~RegistryKey() { Close(); }

LONG RegistryKey::Open(HKEY root, const std::string& path) { return OpenWith(root, path, KEY_ALL_ACCESS); }

LONG RegistryKey::OpenForRead(HKEY root, const std::string& path, REGSAM view) {
    return OpenWith(root, path, KEY_READ | view);
}

LONG RegistryKey::OpenWith(HKEY root, const std::string& path, REGSAM access) {
    if (IsOpen()) Close();
    m_path = path;
    m_hRootKey = root;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, Widen(path).c_str(), 0, access, &key);
    m_hKey = (status == ERROR_SUCCESS) ? key : nullptr;
    return status;
}

LONG RegistryKey::Create(HKEY root, const std::string& path) {
    if (IsOpen()) Close();
    HKEY key = nullptr;
    LONG status =
        RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    m_hKey = (status == ERROR_SUCCESS) ? key : nullptr;
    m_path = path;
    m_hRootKey = root;
    return status;
}

LONG RegistryKey::Close() {
    if (!IsOpen()) return ERROR_SUCCESS;
    LONG status = RegCloseKey(m_hKey);
    if (status == ERROR_SUCCESS) {
        m_hKey = nullptr;
        m_path.clear();
    }
    return status;
}

LONG RegistryKey::QueryString(const std::string& name, std::string& out, DWORD* valueType) const {
    if (!IsOpen()) return kNoKey;
    std::wstring wideName = Widen(name);
    // Most values are short: a first try with little, then with as much as the value says it needs.
    DWORD type = 0;
    DWORD size = 1024;
    std::vector<wchar_t> buffer;
    LONG status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 2 && status == ERROR_MORE_DATA && size <= kMaxValueBytes; ++attempt) {
        // Two bytes more than offered: a value that fills the whole offer without a terminator
        // still ends inside the buffer.
        buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
        status = RegQueryValueExW(m_hKey, wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (status == ERROR_SUCCESS) out = ValueText(buffer.data(), size, type);
    if (valueType != nullptr) *valueType = type;
    return status;
}

LONG RegistryKey::SetString(const std::string& name, const std::string& value) const {
    if (!IsOpen()) return kNoKey;
    std::wstring text = Widen(value);
    return RegSetValueExW(m_hKey, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG RegistryKey::DeleteValue(const std::string& name) const {
    if (!IsOpen()) return kNoKey;
    return RegDeleteValueW(m_hKey, Widen(name).c_str());
}

LONG RegistryKey::EnumSubKeys(TextList& out) const {
    if (!IsOpen()) return kNoKey;
    out.clear();
    for (DWORD index = 0;; ++index) {
        // A key name holds at most 255 characters.
        wchar_t name[256] = {};
        DWORD length = 256;
        LONG status = RegEnumKeyExW(m_hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) return status == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : status;
        out.push_back(Narrow(name, length));
    }
}
