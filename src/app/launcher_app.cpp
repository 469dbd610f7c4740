// The application object: start-up and the choice of one of the launcher's three jobs.
#include "app/launcher_app.h"

#include <windows.h>

#include "app/switches.h"
#include "app/tell.h"
#include "app/user_options.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/window_support.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "util/wide_text.h"

namespace {

// The file version from the program's own VERSIONINFO, read without version.dll.
std::string OwnVersion() {
    HRSRC found =
        FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const DWORD* words = loaded != nullptr ? static_cast<const DWORD*>(LockResource(loaded)) : nullptr;
    if (words == nullptr) return "?";
    // VS_FIXEDFILEINFO starts with its signature, DWORD-aligned after the block's header and key.
    for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) / 4 <= SizeofResource(nullptr, found) / 4; ++i) {
        if (words[i] != VS_FFI_SIGNATURE) continue;
        const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(words + i);
        return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
               std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
               std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
               std::to_string(LOWORD(info->dwFileVersionLS));
    }
    return "?";
}

}  // namespace

// Common controls and COM are prepared where windows are shown (WindowSupport): most starts show none.
bool LauncherApp::InitInstance(const std::vector<std::string>& args) {
    // Opened first and kept to the end: Java, started last, writes into it too.
    RunLog log;
    if (log.Open(LoadText(IDS_LOG_FILE))) {
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        char time[32] = {};
        wsprintfA(time, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
        LogLine(LoadText(IDS_DISPLAY_NAME) + " launcher " + OwnVersion() + ", " + time + ", process id " +
                std::to_string(GetCurrentProcessId()));
        LogLine("command line: " + Narrow(GetCommandLineW()));
    }
    LauncherSettings settings;
    const Policies& policies = settings.GetPolicies();
    SetSupportText(policies.supportText);
    Road road = ChooseRoad(args);
    bool seen = AnyoneCanSee();
    m_quiet = !seen || (road == Road::Install && AsksQuiet(args));
    m_installing = road == Road::Install;
    if (!seen) LogLine("no one can see a window here (a service, or session 0): nothing will be shown");
    // The administrator's intent is unknown: nothing starts and nothing is recorded.
    if (!policies.problem.empty() && road != Road::Uninstall) {
        Tell(Fill(IDS_POLICY_BAD, {policies.badValue, LoadText(IDS_POLICY_KEY), policies.problem}),
             MB_ICONHAND, kEventPolicyValue, m_quiet);
        m_exitCode = 1;
        road = Road::None;
    }
    switch (road) {
    case Road::None:
        break;
    case Road::Install:
        Install(settings);
        break;
    case Road::Uninstall:
        Uninstall(settings);
        break;
    case Road::Launch:
        Launch(settings, args);
        break;
    case Road::UserOptions:
        m_exitCode = EditUserOptions(policies);
        break;
    }
    log.RemoveOld();
    return false;
}

void LauncherApp::Install(LauncherSettings& settings) {
    if (!settings.GetPolicies().javaHome.empty()) {
        LogLine("-install: the administrator's runtime (policy JavaHome) is used: nothing to find or record");
        std::string exe;
        double version = 0.0;
        m_exitCode = UseAdministratorsRuntime(settings, exe, version) ? 0 : 1;
        if (m_exitCode == 0)
            WriteEvent(EventKind::kInformation, kEventRuntimeByPolicy, Fill(IDS_EVENT_BY_POLICY, {exe}));
        return;
    }
    LogLine(m_quiet ? "-install, quiet: find a runtime and record it; ask nothing, start nothing"
                    : "-install: find or ask for a runtime and record it; start nothing");
    std::string recorded;
    ResolveJava(settings, recorded);
    // Found is not recorded: a standard user may have no right to write the key.
    bool written = !recorded.empty() && settings.GetJavaExe() == recorded;
    m_exitCode = written ? 0 : 1;
    if (recorded.empty()) {
        WriteEvent(EventKind::kWarning, kEventNoRuntime,
                   Fill(IDS_EVENT_NO_RUNTIME, {settings.GetBoundsText()}));
    } else if (!written) {
        WriteEvent(EventKind::kWarning, kEventNotRecorded,
                   Fill(IDS_EVENT_NOT_RECORDED, {recorded, settings.GetSettingsKeyPath()}));
    } else {
        WriteEvent(EventKind::kInformation, kEventRuntimeRecorded, Fill(IDS_EVENT_RECORDED, {recorded}));
    }
}

void LauncherApp::Uninstall(LauncherSettings& settings) {
    LogLine("-uninstall: removing JavaHome, JavaExe, JavaOptions and JavaVersion from HKEY_LOCAL_MACHINE\\" +
            settings.GetSettingsKeyPath());
    settings.ClearJavaSettings();
}
