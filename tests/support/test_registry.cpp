// Registry set-up and inspection for tests.
#include "support/test_registry.h"

#include <gtest/gtest.h>

namespace testreg {

const char* const kLauncherKey = "Software\\Quellmark\\Tessaly";
const char* const kJavaSoftKey = "Software\\JavaSoft\\Java Runtime Environment";

void DeleteTree(const std::string& path) {
    LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
        return;
    }
    ADD_FAILURE() << "cannot delete HKLM\\" << path << ": " << status;
}

void CreateKey(const std::string& path) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr);
    ASSERT_EQ(status, ERROR_SUCCESS) << path;
    RegCloseKey(key);
}

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr);
    ASSERT_EQ(status, ERROR_SUCCESS) << path;
    status = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS) << path << " " << name;
}

void SetText(const std::string& path, const std::string& name, const std::string& text) {
    SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::map<std::string, Value> Values(const std::string& path) {
    std::map<std::string, Value> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name;
        std::string data(70000, '\0');
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                          &dataSize) != ERROR_SUCCESS) {
            break;
        }
        data.resize(dataSize);
        values[name] = Value{type, data};
    }
    RegCloseKey(key);
    return values;
}

std::vector<std::string> ValueNames(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : Values(path)) names.push_back(entry.first);
    return names;
}

std::vector<std::string> SubKeyNames(const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[1024];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
    RegCloseKey(key);
    return names;
}

void AddRuntime(const std::string& version, const char* home) {
    CreateKey(std::string(kJavaSoftKey) + "\\" + version);
    if (home != nullptr) SetText(std::string(kJavaSoftKey) + "\\" + version, "JavaHome", home);
}

void FillLauncherKey() {
    SetText(kLauncherKey, "JavaHome", "C:\\jre");
    SetText(kLauncherKey, "JavaExe", "C:\\jre\\bin\\java.exe");
    SetText(kLauncherKey, "JavaVersion", "1.60000");
    SetText(kLauncherKey, "JavaOptions", "-Xmx256m");
    SetText(kLauncherKey, "CommandLineArgs", "org.example.Main");
    SetText(kLauncherKey, "ClasslibDynPath", "C:\\app\\lib");
}

}  // namespace testreg
