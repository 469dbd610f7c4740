// Running a program and reading what it prints.
#pragma once
#include <string>

// Stops a child whose output has not ended by then (a java.exe that hangs must not hang the
// dialog that probes it).
constexpr unsigned kCaptureTimeLimitMs = 15000;
// Kept of the output; the rest is read and dropped so that the child never blocks.
constexpr size_t kCaptureKeepBytes = 64 * 1024;
// The command line must fit this buffer, terminator included; a longer one is refused.
constexpr size_t kCommandLineBytes = 1024;

// Runs "<program>" <arguments> without a window, standard output and standard error joined
// in one pipe, and returns all it wrote in arrival order. Empty text when nothing could be
// started or read, and when the time limit passed (the child is then terminated).
std::string RunAndCapture(const std::string& program, const std::string& arguments,
                          unsigned timeLimitMs = kCaptureTimeLimitMs);
