// Message boxes and the standard Open dialog, as the launcher shows them.
#pragma once
#include <windows.h>

#include <string>

// A message box captioned with the application's display name; returns the button pressed.
// Without an owner, it asks for the foreground and stays on top until answered.
int ShowMessage(HWND owner, const std::string& text, UINT buttonsAndIcon);
// A line that ends every box from now on (the administrator's SupportText): whom to ask.
void SetSupportText(const std::string& line);

// The system's own text for an error, with the file name where it has "%1" for one; "error N"
// when it has none.
std::string SystemErrorText(unsigned long error, const std::string& path);

// The standard Open dialog with one filter entry ("Name|pattern"); false when cancelled.
bool AskForFileToOpen(HWND owner, const char* filterName, const char* pattern, std::string& path);
