// Owner of one open registry key; every operation returns the registry's status code.
#pragma once
#include <windows.h>
#include <string>

#include "framework/text_list.h"

class RegistryKey {
public:
    // Returned by every operation that needs an open key when none is held.
    static constexpr LONG kNoKey = -1;
    // The longest value read, terminator included: 32,767 UTF-16 characters, as long as a command
    // line can be. A longer one fails with ERROR_MORE_DATA.
    static constexpr DWORD kMaxValueBytes = 65536;

    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return m_hKey != nullptr; }
    LONG Open(HKEY root, const std::string& path);  // KEY_ALL_ACCESS, never creates
    // KEY_READ; view KEY_WOW64_32KEY or KEY_WOW64_64KEY picks a registry view on 64-bit Windows.
    LONG OpenForRead(HKEY root, const std::string& path, REGSAM view = 0);
    LONG OpenWith(HKEY root, const std::string& path, REGSAM access);
    // Opened for setting values, created first where missing.
    LONG Create(HKEY root, const std::string& path);
    LONG Close();
    HKEY Handle() const { return m_hKey; }  // for the calls this owner does not wrap

    // A text value whole, as UTF-8; any other type as the bytes of an ANSI text, up to the first
    // zero byte. On failure out is untouched.
    // type, when given, receives the value's type.
    LONG QueryString(const std::string& name, std::string& out, DWORD* type = nullptr) const;
    LONG SetString(const std::string& name, const std::string& value) const;
    LONG DeleteValue(const std::string& name) const;
    // Names in the registry's index order; names read before a failure stay in the list.
    LONG EnumSubKeys(TextList& out) const;

private:
    HKEY m_hKey = nullptr;
    HKEY m_hRootKey = nullptr;
    std::string m_path;
};
