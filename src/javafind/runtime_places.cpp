// The places where today's Java installers record runtimes, and the choice among them.
#include "javafind/runtime_places.h"

#include <windows.h>

#include <iterator>

#include "framework/run_log.h"
#include "framework/text_list.h"
#include "javafind/version_rules.h"
#include "settings/registry_key.h"
#include "util/module_files.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

// Every subkey of `key` (its name holds the version) with a text value `value` in
// `key\<subkey><below>` that names the runtime's home.
struct Place {
    const char* key;
    const char* below;
    const char* value;
};
const Place kPlaces[] = {
    {"Software\\JavaSoft\\Java Development Kit", "", "JavaHome"},
    {"Software\\JavaSoft\\JRE", "", "JavaHome"},
    {"Software\\JavaSoft\\JDK", "", "JavaHome"},
    {"Software\\Eclipse Adoptium\\JDK", "\\hotspot\\MSI", "Path"},
    {"Software\\Eclipse Adoptium\\JRE", "\\hotspot\\MSI", "Path"},
    {"Software\\AdoptOpenJDK\\JDK", "\\hotspot\\MSI", "Path"},
    {"Software\\AdoptOpenJDK\\JRE", "\\hotspot\\MSI", "Path"},
    {"Software\\Eclipse Foundation\\JDK", "\\hotspot\\MSI", "Path"},
    {"Software\\Eclipse Foundation\\JRE", "\\hotspot\\MSI", "Path"},
    {"Software\\Microsoft\\JDK", "\\hotspot\\MSI", "Path"},
    {"Software\\Microsoft\\JRE", "\\hotspot\\MSI", "Path"},
    {"Software\\Azul Systems\\Zulu", "", "InstallationPath"},
    {"Software\\BellSoft\\Liberica", "", "InstallationPath"},
};
const size_t kJavaSoftPlaces = 3;  // the first three; the vendors' keys follow

void OfferPlace(BestRuntime& best, const Place& place, REGSAM view) {
    RegistryKey key;
    TextList names;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, place.key, view) != ERROR_SUCCESS ||
        key.EnumSubKeys(names) != ERROR_SUCCESS) {
        return;
    }
    for (const std::string& name : names) {
        RegistryKey runtime;
        std::string home;
        DWORD type = REG_NONE;
        if (runtime.OpenForRead(HKEY_LOCAL_MACHINE, std::string(place.key) + "\\" + name + place.below,
                                view) == ERROR_SUCCESS &&
            runtime.QueryString(place.value, home, &type) == ERROR_SUCCESS && type == REG_SZ) {
            best.Offer(std::string(place.key) + (view == 0 ? "" : " (other view)"), name, home);
        }
    }
}

// Windows on ARM runs x64 runtimes emulated: there a native one of the same feature version goes
// first. Windows 10 1709 and later can say; elsewhere the order stays as it was.
bool Arm64Windows() {
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64Process2 = reinterpret_cast<IsWow64Process2Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process2")));
    USHORT process = 0, native = 0;
    return isWow64Process2 != nullptr && isWow64Process2(GetCurrentProcess(), &process, &native) &&
           native == kMachineArm64;
}

}  // namespace

std::string JavaExeForHome(std::string home) {
    AddTrailingBackslash(home, IsUtf8LeadByte);
    return home + "bin\\java.exe";
}

std::string HomeFromVariable(const wchar_t* name) {
    // Most starts have no such variable: asked its size first, nothing is allocated for it.
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size <= 1) return "";
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(name, &value[0], size);
    if (length == 0 || length >= size) return "";
    value.resize(length);
    if (length >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, length - 2);
    std::wstring full(32768, L'\0');
    length = GetFullPathNameW(value.c_str(), 32768, &full[0], nullptr);
    std::string home = Narrow(length > 0 && length < 32768 ? full.c_str() : value.c_str(),
                              length > 0 && length < 32768 ? length : value.size());
    StripTrailingBackslash(home, IsUtf8LeadByte);
    return home;
}

// A 32-bit program on 64-bit Windows sees the 32-bit view; runtimes of 64 bits record
// themselves in the other one. 0 where there is no other view (32-bit Windows).
unsigned long OtherRegistryView() {
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && wow64 ? KEY_WOW64_64KEY
                                                                                             : 0;
#endif
}

void BestRuntime::Offer(const std::string& where, const std::string& versionText, const std::string& home) {
    double version = ParseVersionText(versionText);
    std::string seen = where + " " + versionText + " at \"" + home + "\"";
    // Keys outlive uninstalled runtimes: only a java.exe that is there counts.
    if (!IsVersionAccepted(m_bounds, version, versionText)) {
        LogLine(seen + " passed over: version out of range");
        return;
    }
    if (home.empty() || !FileExists(JavaExeForHome(home))) {
        LogLine(seen + " passed over: no bin\\java.exe");
        return;
    }
    std::vector<unsigned long> parts = VersionParts(versionText);
    // The PE header lies within the first kilobytes.
    unsigned machine = PeMachine(ReadSmallFile(JavaExeForHome(home), 4096));
    seen += machine == kMachineArm64 ? " (ARM64)"
            : machine == 0x8664      ? " (x64)"
            : machine == 0x14C       ? " (x86)"
                                     : "";
    if (!m_home.empty() && CompareRuntimes(parts, machine, m_parts, m_machine, Arm64Windows()) <= 0) {
        LogLine(seen + " passed over: not above " + m_home);
        return;
    }
    LogLine(seen + " the highest so far");
    m_parts = parts;
    m_machine = machine;
    m_version = version;
    m_home = home;
}

bool BestRuntime::Take(double& version, std::string& home) const {
    if (m_home.empty()) return false;
    version = m_version;
    home = m_home;
    return true;
}

void OfferInstallerPlaces(BestRuntime& best) {
    REGSAM other = OtherRegistryView();
    const REGSAM views[] = {0, other};
    const size_t viewCount = other != 0 ? 2 : 1;
    // The JavaSoft trees in both views, then the vendors' keys in both views.
    for (size_t group = 0; group < 2; ++group) {
        size_t first = group == 0 ? 0 : kJavaSoftPlaces,
               end = group == 0 ? kJavaSoftPlaces : std::size(kPlaces);
        for (size_t view = 0; view < viewCount; ++view) {
            for (size_t i = first; i < end; ++i) OfferPlace(best, kPlaces[i], views[view]);
        }
    }
}
