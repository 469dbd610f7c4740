// The "Install Java" dialog.
#include "ui/install_java_dialog.h"

#include <shellapi.h>

#include "app/message_text.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "javafind/jvm_locator.h"
#include "javafind/version_rules.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "settings/user_options_rules.h"
#include "ui/dialog_rules.h"
#include "util/module_files.h"
#include "util/number_text.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

// At the system's size for the display's DPI, each of the two: LoadIcon gives the big size
// only, which the title bar then shrinks to a blurred small icon. Not shared: a shared icon is
// found again by its name, whatever size is asked for.
HICON LoadAppIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

// The architecture of this Windows as Java's downloads name it, whatever this program's own:
// a 32-bit launcher on 64-bit Windows, or an x64 one emulated on ARM64, gets the native one.
const char* WindowsArchitecture() {
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto query = reinterpret_cast<IsWow64Process2Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process2")));
    USHORT process = 0, machine = 0;
    // IsWow64Process2 came with Windows 10 1709, the first Windows on ARM to run programs of other
    // processors: where it is missing, Windows is x64 or x86.
    if (query == nullptr || !query(GetCurrentProcess(), &process, &machine)) {
        SYSTEM_INFO info = {};
        GetNativeSystemInfo(&info);
        machine = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? IMAGE_FILE_MACHINE_AMD64 : 0;
    }
    return machine == kMachineArm64 ? "aarch64" : machine == IMAGE_FILE_MACHINE_AMD64 ? "x64" : "x86";
}

}  // namespace

InstallJavaDialog::InstallJavaDialog(HWND parent, LauncherSettings& settings)
    : ModalDialog(IDD_INSTALL_JAVA, parent),
      m_bigIcon(LoadAppIcon(SM_CXICON, SM_CYICON)),
      m_smallIcon(LoadAppIcon(SM_CXSMICON, SM_CYSMICON)),
      m_settings(settings) {
    OnClick(IDC_INSTALL_JAVA_NOW, static_cast<Handler>(&InstallJavaDialog::OnInstallJavaNow));
    OnClick(IDC_SELECT_EXISTING_JAVA, static_cast<Handler>(&InstallJavaDialog::OnSelectExistingJava));
}

InstallJavaDialog::~InstallJavaDialog() {
    if (m_bigIcon != nullptr) DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr) DestroyIcon(m_smallIcon);
}

BOOL InstallJavaDialog::OnInitDialog() {
    SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
    std::string prompt = LoadText(IDS_DISPLAY_NAME) + LoadText(IDS_REQUIRES_JAVA);
    SetDlgItemTextW(Window(), IDC_PROMPT_TEXT, Widen(prompt).c_str());
    std::string bounds = m_settings.GetBoundsText();
    SetDlgItemTextW(Window(), IDC_BOUNDS_TEXT, Widen(bounds).c_str());
    return TRUE;  // focus to the first control that takes it
}

void InstallJavaDialog::OnInstallJavaNow() {
    std::string fileName = m_settings.GetInstallerFileName(), path;
    if (!fileName.empty()) {
        GetModuleDirectory(nullptr, path);
        AddTrailingBackslash(path, IsUtf8LeadByte);
        path += fileName;
    }
    if (fileName.empty() || !FileExists(path)) return OfferDownload(path);
    ForgetChoice();
    ShellExecuteW(nullptr, nullptr, Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void InstallJavaDialog::ForgetChoice() {
    // After an installation, Done must search for the new runtime, not record an old choice.
    m_javaVersion = 0.0;
    m_javaHome.clear();
    m_javaExe.clear();
}

void InstallJavaDialog::OfferDownload(const std::string& missingInstaller) {
    const Policies& policies = m_settings.GetPolicies();
    const char* arch = WindowsArchitecture();
    bool x86 = arch[1] == '8';
    std::string pattern = policies.downloadUrlSet ? policies.javaDownloadUrl
                                                  : LoadText(x86 ? IDS_DOWNLOAD_URL_X86 : IDS_DOWNLOAD_URL);
    unsigned versionId = x86              ? IDS_DOWNLOAD_VERSION_X86
                         : arch[0] == 'a' ? IDS_DOWNLOAD_VERSION_ARM64
                                          : IDS_DOWNLOAD_VERSION;
    unsigned wanted = std::atoi(LoadText(versionId).c_str());
    unsigned version = DownloadVersion(wanted, m_settings.GetVersionBounds(), x86);
    if (pattern.empty() || version == 0) {
        std::string text = LoadText(IDS_NO_INSTALLER);
        ShowMessage(Window(), missingInstaller.empty() ? text : text + " " + missingInstaller,
                    MB_OK | MB_ICONHAND);
        return;
    }
    std::string address = DownloadAddress(pattern, version, arch);
    LogLine("Install Java Now: Java " + std::to_string(version) + " for " + arch + " from " + address);
    // Never a browser as administrator (the installer's own -install): the address to open instead.
    HINSTANCE opened = RunsElevated() ? nullptr
                                      : ShellExecuteW(Window(), L"open", Widen(address).c_str(), nullptr,
                                                      nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) {
        ShowMessage(Window(), FillText(LoadText(IDS_DOWNLOAD_VISIT), {"", address}), MB_OK | MB_ICONHAND);
        return;
    }
    ForgetChoice();
    ShowMessage(Window(), FillText(LoadText(IDS_DOWNLOAD_STARTED), {"", std::to_string(version)}),
                MB_OK | MB_ICONASTERISK);
}

void InstallJavaDialog::OnSelectExistingJava() {
    std::string path;
    if (!AskForFileToOpen(Window(), "Java (java.exe)", "java.exe", path)) return;
    VersionBounds bounds = m_settings.GetVersionBounds();
    // A first start of a runtime can take seconds (a virus scan): the dialog stays alive meanwhile.
    double version = 0.0;
    std::string printed;
    RunBusy([&] { version = JvmLocator().ProbeJavaVersion(path, &printed); });
    if (!IsVersionAccepted(bounds, version, printed)) {
        std::string versionText, minText = bounds.minText;
        DoubleToText(version, versionText);
        if (minText.empty()) DoubleToText(bounds.min, minText);
        ShowMessage(Window(),
                    LoadText(IDS_SELECTED_VERSION_IS) + versionText + "\r\n" +
                        LoadText(IDS_MUST_SELECT_VERSION) + minText + LoadText(IDS_OR_HIGHER),
                    MB_OK | MB_ICONHAND);
        return;
    }
    m_javaVersion = version;
    m_javaExe = path;
    HomeOfJavaExe(path, m_javaHome);
    ShowMessage(Window(), "Using Java: " + path, MB_OK | MB_ICONASTERISK);
}

void InstallJavaDialog::OnOK() {
    if (!m_javaHome.empty()) {
        m_settings.RecordJava(m_javaVersion, m_javaHome, m_javaExe);
        m_recordedExe = m_javaExe;
    } else {
        double version = 0.0;
        std::string home, exe;
        VersionBounds bounds = m_settings.GetVersionBounds();
        bool found = false;
        // The search may ask JAVA_HOME's java.exe its version, which can take seconds.
        RunBusy([&] { found = JvmLocator().FindJvm(bounds, version, home, exe); });
        if (found) {
            m_settings.RecordJava(version, home, exe);
            m_recordedExe = exe;
        } else if (!WarnWillNotRun(Window())) {
            return;
        }
    }
    if (m_settings.IsJavaConfigured() || WarnWillNotRun(Window())) ModalDialog::OnOK();
}

bool WarnWillNotRun(HWND owner) {
    std::string text = LoadText(IDS_DISPLAY_NAME) + LoadText(IDS_WILL_NOT_RUN);
    // Only OK goes on: a box that could not be shown returns 0, which is no answer.
    return ShowMessage(owner, text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}
