// Events in the Windows Application log.
#include "framework/event_log.h"

#include <windows.h>

#include "framework/own_user.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "res/resource.h"
#include "util/wide_text.h"

namespace {

// What one event may hold of its strings together, in UTF-16 units: each may hold 31,839, but
// since Vista the whole event is refused somewhat above 31,700.
constexpr size_t kEventBudget = 31000;

// At most `room` units, never half a surrogate pair; line ends as CR LF, which every reader shows.
std::wstring Within(const std::string& text, size_t room) {
    std::wstring wide;
    for (wchar_t c : Widen(text)) {
        if (c == L'\n' && (wide.empty() || wide.back() != L'\r')) wide += L'\r';
        wide += c;
    }
    if (wide.size() <= room) return wide;
    size_t cut = room > 3 ? room - 3 : 0;
    if (cut > 0 && wide[cut - 1] >= 0xD800 && wide[cut - 1] <= 0xDBFF) --cut;
    return wide.substr(0, cut) + L"...";
}

}  // namespace

void WriteEvent(EventKind kind, EventId id, const std::string& text) {
    HANDLE source = RegisterEventSourceW(nullptr, Widen(LoadText(IDS_DISPLAY_NAME)).c_str());
    if (source == nullptr) return;
    RunLog* log = RunLog::Current();
    // The text first, then the log's place; the command line gets what is left.
    std::wstring strings[3];
    strings[0] = Within(text, kEventBudget - 2000);
    strings[1] = Within(log != nullptr ? log->Path() : RunLog::WhyNone(), 1000);
    strings[2] = Within(Narrow(GetCommandLineW()), kEventBudget - strings[0].size() - strings[1].size());
    const wchar_t* pointers[3] = {strings[0].c_str(), strings[1].c_str(), strings[2].c_str()};
    OwnUser user;
    WORD type = kind == EventKind::kError     ? EVENTLOG_ERROR_TYPE
                : kind == EventKind::kWarning ? EVENTLOG_WARNING_TYPE
                                              : EVENTLOG_INFORMATION_TYPE;
    ReportEventW(source, type, 0, id, user.sid, 3, 0, pointers, nullptr);
    DeregisterEventSource(source);
}
