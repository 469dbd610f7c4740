// Events in the Windows Application log, from the source "Tessaly", where administrators collect
// failures (Event Forwarding, Intune, any SIEM) rather than from users' profiles.
#pragma once
#include <string>

enum class EventKind { kInformation, kWarning, kError };

// The event IDs, fixed once and for all: administrators filter on them. The message table of the
// program (events.mc) holds each one's text.
enum EventId : unsigned long {
    kEventRuntimeRecorded = 100,    // -install recorded a runtime
    kEventRuntimeByPolicy = 101,    // -install: the administrator's runtime, nothing to record
    kEventNoRuntime = 200,          // -install found none and recorded nothing
    kEventNamesCannotPass = 201,    // a document's name cannot reach Java whole; it starts all the same
    kEventNotRecorded = 202,        // -install found a runtime but could not write the key
    kEventUserRuntime = 203,        // TESSALY_JAVA_HOME names a runtime that cannot be used
    kEventUserOptions = 204,        // lines of the user's options file not used, or -user-options refused
    kEventCouldNotStart = 300,      // Java ended before its application window
    kEventCrashed = 301,            // Java crashed after its window showed
    kEventEndedAfterLongRun = 302,  // Java ended with a code after a long run without a window
    kEventRefused = 303,            // Windows would not run java.exe
    kEventCommandTooLong = 304,     // the command line is too long, or the class path for an old Java
    kEventNamesStopStart = 305,     // the runtime's folder or a jar cannot reach Java whole
    kEventNoRuntimeNoChoice = 306,  // no runtime, and the administrator allows no choice
    kEventPolicyValue = 400,        // a policy value cannot be used
    kEventPolicyRuntime = 401,      // the administrator's runtime cannot be used
};

// One event: the text, this start's log (or why it has none) and the launcher's command line,
// with the user as the event's user. Never waits for anything and never shows anything.
void WriteEvent(EventKind kind, EventId id, const std::string& text);
