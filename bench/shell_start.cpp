// Baseline for the start-up benchmark: the least a launcher can do, one ShellExecuteA.
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // The whole command line is the program to start.
    ShellExecuteA(nullptr, "open", commandLine, "-cp \"\" Main", nullptr, SW_HIDE);
    return 0;
}
