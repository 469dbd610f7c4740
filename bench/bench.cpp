// Measures, under one Wine server: start-to-Java time of tessaly.exe against a program that
// only calls ShellExecuteA, and the class-path build time for 500 against 5,000 jars.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/jvm_launcher.h"

namespace {

std::string Dir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void SetValue(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

std::string MakeJarDir(const std::string& name, int jars) {
    std::string dir = Dir() + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int i = 0; i < jars; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "\\library-%05d.jar", i);
        HANDLE h = CreateFileA((dir + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    return dir;
}

// Milliseconds from starting `program` until the stand-in Java has written its record.
double StartToJava(const std::string& program, const std::string& arguments, const std::string& record) {
    DeleteFileA(record.c_str());
    std::string commandLine = "\"" + program + "\" " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    double begin = Now();
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return -1;
    }
    CloseHandle(info.hThread);
    while (GetFileAttributesA(record.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (Now() - begin > 20000) return -1;
        Sleep(0);
    }
    double took = Now() - begin;
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    return took;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const int runs = 21;
    std::string dir = Dir();
    std::string java = dir + "\\fixtures\\java.exe";
    std::string record = dir + "\\fixtures\\launched.txt";
    std::string jars = MakeJarDir("bench-jars-200", 200);

    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quellmark\\Tessaly", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    SetValue(key, "JavaHome", dir + "\\fixtures");
    SetValue(key, "JavaExe", java);
    SetValue(key, "JavaOptions", "Main");
    SetValue(key, "CommandLineArgs", "");
    SetValue(key, "ClasslibDynPath", jars);
    RegCloseKey(key);

    std::vector<double> launcher, baseline;
    StartToJava(dir + "\\tessaly.exe", "", record);  // warm both up once
    StartToJava(dir + "\\shell_start.exe", java, record);
    for (int i = 0; i < runs; ++i) {  // interleaved, so both see the same machine load
        launcher.push_back(StartToJava(dir + "\\tessaly.exe", "", record));
        baseline.push_back(StartToJava(dir + "\\shell_start.exe", java, record));
    }
    double l = Median(launcher), b = Median(baseline);
    std::printf("start to Java, median of %d (200 jars):  tessaly.exe %.1f ms,  ShellExecuteA alone %.1f ms,"
                "  ratio %.2f (goal <= 1.2)\n", runs, l, b, l / b);

    JvmLauncher builder;
    std::string small = MakeJarDir("bench-jars-500", 500), large = MakeJarDir("bench-jars-5000", 5000);
    std::vector<double> t500, t5000;
    size_t length500 = 0, length5000 = 0;
    for (int i = 0; i < 7; ++i) {
        double begin = Now();
        length500 = builder.BuildJarClassPath(small).size();
        t500.push_back(Now() - begin);
        begin = Now();
        length5000 = builder.BuildJarClassPath(large).size();
        t5000.push_back(Now() - begin);
    }
    double s = Median(t500), g = Median(t5000);
    std::printf("class path, median of 7:  500 jars %.2f ms (%zu chars),  5000 jars %.2f ms (%zu chars),"
                "  growth %.1fx (goal about 10x)\n", s, length500, g, length5000, g / s);
    return 0;
}
