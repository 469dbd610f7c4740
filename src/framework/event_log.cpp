// Events in the Windows Application log.
#include "framework/event_log.h"

#include <windows.h>

#include "framework/own_user.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "res/resource.h"
#include "util/wide_text.h"

namespace {

// What ReportEvent takes of one string, in UTF-16 units.
constexpr size_t kLongestString = 31839;

std::wstring Within(const std::string& text) {
    std::wstring wide = Widen(text);
    if (wide.size() <= kLongestString) return wide;
    size_t cut = kLongestString - 3;
    // Never half a surrogate pair.
    if (wide[cut - 1] >= 0xD800 && wide[cut - 1] <= 0xDBFF) --cut;
    return wide.substr(0, cut) + L"...";
}

}  // namespace

void WriteEvent(EventKind kind, EventId id, const std::string& text) {
    HANDLE source = RegisterEventSourceW(nullptr, Widen(LoadText(IDS_DISPLAY_NAME)).c_str());
    if (source == nullptr) return;
    RunLog* log = RunLog::Current();
    std::wstring strings[3] = {Within(text), Within(log != nullptr ? log->Path() : RunLog::WhyNone()),
                               Within(Narrow(GetCommandLineW()))};
    const wchar_t* pointers[3] = {strings[0].c_str(), strings[1].c_str(), strings[2].c_str()};
    OwnUser user;
    WORD type = kind == EventKind::kError     ? EVENTLOG_ERROR_TYPE
                : kind == EventKind::kWarning ? EVENTLOG_WARNING_TYPE
                                              : EVENTLOG_INFORMATION_TYPE;
    ReportEventW(source, type, 0, id, user.sid, 3, 0, pointers, nullptr);
    DeregisterEventSource(source);
}
