// What the launcher tells about a start, in front of the user and in the event log alike.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/event_log.h"

// A string-table text with the display name for %1 and the inserts for %2 on.
std::string Fill(unsigned id, std::vector<std::string> inserts);

// The launcher's message about a start, with its log's place or why it has none, as the event
// `event` too (an error for the stop icon, a warning for the exclamation mark). Where no one
// could see a box, or the start is quiet, the log and the event alone say it. With MB_YESNO the
// user's answer decides: Yes goes on to another try, whose own outcome is the event; the answer
// is returned (No where no one could see the box).
int Tell(const std::string& text, UINT icon, EventId event, bool quiet = false, UINT buttons = MB_OK);
