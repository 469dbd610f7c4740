// Registry set-up and inspection for tests, straight over the Win32 calls so that the
// code under test is never used to check itself.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace testreg {

extern const char* const kLauncherKey;  // Software\Quellmark\Tessaly
extern const char* const kJavaSoftKey;  // Software\JavaSoft\Java Runtime Environment

void DeleteTree(const std::string& path);            // under HKLM; a missing key is fine
void CreateKey(const std::string& path);             // under HKLM, with its parents
bool KeyExists(const std::string& path);
void SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size);
void SetText(const std::string& path, const std::string& name, const std::string& text);
// Every value of the key: name -> (type, raw bytes).
struct Value { DWORD type; std::string bytes; };
std::map<std::string, Value> Values(const std::string& path);
std::vector<std::string> ValueNames(const std::string& path);
// Names in the registry's own enumeration order.
std::vector<std::string> SubKeyNames(const std::string& path);
// A runtime's subkey in the JavaSoft tree; home nullptr leaves out its JavaHome value.
void AddRuntime(const std::string& version, const char* home);
// The launcher's key holding the six values of its layout.
void FillLauncherKey();

}  // namespace testreg
