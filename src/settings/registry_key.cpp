// Owner of one open registry key.
#include "settings/registry_key.h"

#include <vector>

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
    LONG status = RegOpenKeyExA(root, path.c_str(), 0, access, &key);
    m_hKey = (status == ERROR_SUCCESS) ? key : nullptr;
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
    // One byte more than offered: a value that fills the whole offer without a terminator
    // still ends inside the buffer.
    std::vector<char> buffer(kMaxValueBytes + 1, '\0');
    DWORD type = 0;
    DWORD size = kMaxValueBytes;
    LONG status =
        RegQueryValueExA(m_hKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_SUCCESS) out = buffer.data();
    if (valueType != nullptr) *valueType = type;
    return status;
}

LONG RegistryKey::SetString(const std::string& name, const std::string& value) const {
    if (!IsOpen()) return kNoKey;
    return RegSetValueExA(m_hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

LONG RegistryKey::DeleteValue(const std::string& name) const {
    if (!IsOpen()) return kNoKey;
    return RegDeleteValueA(m_hKey, name.c_str());
}

LONG RegistryKey::EnumSubKeys(TextList& out) const {
    if (!IsOpen()) return kNoKey;
    out.clear();
    for (DWORD index = 0;; ++index) {
        char name[MAX_PATH] = {};
        LONG status = RegEnumKeyA(m_hKey, index, name, MAX_PATH);
        if (status != ERROR_SUCCESS) return status == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : status;
        out.push_back(name);
    }
}
