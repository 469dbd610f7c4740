// Staying with a started Java until it ends: its output into the run log, its first application
// window noticed, the session's end heard.
#pragma once
#include <windows.h>

#include "app/jvm_launcher.h"
#include "framework/output_pipe.h"

// Of Java's output in the log: the beginning and the end. Together with the launcher's own lines
// a log stays within about 2 MB, however long Java runs.
constexpr size_t kLogHeadBytes = 1 << 20;
constexpr size_t kLogTailBytes = 1 << 19;

// Returns when the process has ended and what it wrote has been read (pipe null: nothing to read),
// or when the session ends for an installer (the Restart Manager) or the launcher is told to
// close. Fills result's exit code, window, times and session end, and the last of the output.
void WatchJava(HANDLE process, DWORD processId, OutputPipe* pipe, JavaStart& result);
