// The administrator's policies.
#include "settings/policies.h"

#include <windows.h>

#include "app/message_text.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "javafind/version_rules.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "util/wide_text.h"

namespace {

// The policies that are texts; the versions among them must read as one.
struct TextPolicy {
    const char* name;
    std::string Policies::*field;
    bool version;
};
const TextPolicy kTextPolicies[] = {
    {"JavaHome", &Policies::javaHome, false},
    {"MinJavaVersion", &Policies::minJavaVersion, true},
    {"MaxJavaVersion", &Policies::maxJavaVersion, true},
    {"JavaOptions", &Policies::javaOptions, false},
    {"SupportText", &Policies::supportText, false},
    {"JavaDownloadUrl", &Policies::javaDownloadUrl, false},
};

// The policies that are switches, REG_DWORD 0 or 1.
struct SwitchPolicy {
    const wchar_t* name;
    bool Policies::*field;
};
const SwitchPolicy kSwitchPolicies[] = {
    {L"AllowJavaChoice", &Policies::allowJavaChoice},
    {L"AllowUserOptions", &Policies::allowUserOptions},
};

std::string TypeName(DWORD type) {
    const char* const names[] = {"REG_NONE",   "REG_SZ",      "REG_EXPAND_SZ",
                                 "REG_BINARY", "REG_DWORD",   "REG_DWORD_BIG_ENDIAN",
                                 "REG_LINK",   "REG_MULTI_SZ"};
    return type < 8 ? names[type] : "type " + std::to_string(type);
}

// reason: a string-table text that ends the sentence "The policy value X ...", detail its %2.
void Refuse(Policies& policies, const char* name, unsigned reason, const std::string& detail = "") {
    std::string problem = FillText(LoadText(reason), {"", detail});
    if (policies.badValue.empty()) {
        policies.badValue = name;
        policies.problem = problem;
    }
    LogLine("policy " + std::string(name) + " cannot be used: it " + problem);
}

void ReadText(const RegistryKey& key, const TextPolicy& policy, Policies& policies) {
    std::string text;
    DWORD type = REG_NONE;
    LONG status = key.QueryString(policy.name, text, &type);
    if (status == ERROR_MORE_DATA) return Refuse(policies, policy.name, IDS_POLICY_TOO_LONG);
    if (status == ERROR_FILE_NOT_FOUND) return;
    if (status != ERROR_SUCCESS)
        return Refuse(policies, policy.name, IDS_POLICY_UNREADABLE, SystemErrorText(status, ""));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Refuse(policies, policy.name, IDS_POLICY_NOT_TEXT, TypeName(type));
    if (type == REG_EXPAND_SZ) {
        std::wstring expanded(32768, L'\0');
        DWORD length = ExpandEnvironmentStringsW(Widen(text).c_str(), &expanded[0], 32768);
        if (length == 0 || length > 32768) return Refuse(policies, policy.name, IDS_POLICY_TOO_LONG);
        text = Narrow(expanded.c_str(), length - 1);
    }
    // An empty address is an answer: no download.
    if (policy.field == &Policies::javaDownloadUrl) policies.downloadUrlSet = true;
    if (text.empty()) return;
    if (policy.version && !IsVersionText(text))
        return Refuse(policies, policy.name, IDS_POLICY_NO_VERSION, text);
    LogLine("policy " + std::string(policy.name) + ": \"" + text + "\"");
    policies.*policy.field = text;
}

}  // namespace

Policies ReadPolicies() {
    Policies policies;
    // What an impersonating thread does is never virtualized.
    bool impersonating = ImpersonateSelf(SecurityImpersonation) != FALSE;
    if (!impersonating) LogLine("policies read as this process sees them: it could not impersonate itself");
    RegistryKey key;
    LONG opened = key.OpenForRead(HKEY_LOCAL_MACHINE, LoadText(IDS_POLICY_KEY));
    // A key that is there but cannot be read hides the administrator's intent.
    if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND)
        Refuse(policies, "(the key)", IDS_POLICY_UNREADABLE, SystemErrorText(static_cast<DWORD>(opened), ""));
    if (opened == ERROR_SUCCESS) {
        for (const TextPolicy& policy : kTextPolicies) ReadText(key, policy, policies);
        for (const SwitchPolicy& policy : kSwitchPolicies) {
            DWORD type = REG_NONE, value = 0, size = sizeof value;
            LONG status = RegQueryValueExW(key.Handle(), policy.name, nullptr, &type,
                                           reinterpret_cast<BYTE*>(&value), &size);
            std::string name = Narrow(policy.name);
            if (status == ERROR_FILE_NOT_FOUND) {
            } else if (type != REG_DWORD || status != ERROR_SUCCESS || size != sizeof value) {
                Refuse(policies, name.c_str(), IDS_POLICY_NOT_NUMBER, TypeName(type));
            } else if (value > 1) {
                Refuse(policies, name.c_str(), IDS_POLICY_NOT_SWITCH, std::to_string(value));
            } else {
                LogLine("policy " + name + ": " + std::to_string(value));
                policies.*policy.field = value == 1;
            }
        }
        key.Close();
    }
    if (impersonating) RevertToSelf();
    return policies;
}
