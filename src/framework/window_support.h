// What the launcher's windows need, prepared only when some are about to show.
#pragma once

// Most starts of the launcher show no window at all, and preparing for windows at start-up made
// every start about a quarter slower: under Wine each step below loads the display driver and the
// theme library. So the code that shows windows holds one of these for as long as it shows them.
// False on a window station that no one sees (a service, the system account's session 0): a
// window there would wait for an answer that never comes.
bool AnyoneCanSee();

class WindowSupport {
public:
    // Common Controls 6 loaded and initialised, and COM's single-threaded apartment, which the
    // shell's part of the windows needs: the Open dialog and the installer's start.
    WindowSupport();
    ~WindowSupport();  // ends COM; comctl32 stays loaded until the program ends
    WindowSupport(const WindowSupport&) = delete;
    WindowSupport& operator=(const WindowSupport&) = delete;

private:
    bool m_comInitialized = false;
};
