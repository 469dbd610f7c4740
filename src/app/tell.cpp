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

void Tell(const std::string& text, UINT icon, EventId event, bool quiet) {
    WriteEvent(icon == MB_ICONHAND ? EventKind::kError : EventKind::kWarning, event, text);
    bool seen = !quiet && AnyoneCanSee();
    LogLine((seen ? "shown: " : "not shown, no one could see it: ") + text);
    if (!seen) return;
    RunLog* log = RunLog::Current();
    std::string shown =
        text + "\n\n" +
        (log != nullptr ? Fill(IDS_SEE_LOG, {log->Path()}) : Fill(IDS_NO_LOG, {RunLog::WhyNone()}));
    WindowSupport windows;
    ShowMessage(nullptr, shown, MB_OK | icon);
}
