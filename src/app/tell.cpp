// What the launcher tells about a start.
#include "app/tell.h"

#include "app/message_text.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/window_support.h"
#include "res/resource.h"

std::string Fill(unsigned id, std::vector<std::string> inserts) {
    inserts.insert(inserts.begin(), LoadText(IDS_DISPLAY_NAME));
    return FillText(LoadText(id), inserts);
}

int Tell(const std::string& text, UINT icon, EventId event, bool quiet, UINT buttons) {
    EventKind kind = icon == MB_ICONHAND ? EventKind::kError : EventKind::kWarning;
    // Before the box, which may wait for ever: a launcher ended meanwhile has written its event.
    if (buttons == MB_OK) WriteEvent(kind, event, text);
    bool seen = !quiet && AnyoneCanSee();
    LogLine((seen ? "shown: " : "not shown, no one could see it: ") + text);
    int answer = IDNO;
    if (seen) {
        RunLog* log = RunLog::Current();
        std::string shown =
            text + "\n\n" +
            (log != nullptr ? Fill(IDS_SEE_LOG, {log->Path()}) : Fill(IDS_NO_LOG, {RunLog::WhyNone()}));
        WindowSupport windows;
        answer = ShowMessage(nullptr, shown, buttons | icon);
    }
    if (buttons != MB_OK && answer != IDYES) WriteEvent(kind, event, text);
    return answer;
}
