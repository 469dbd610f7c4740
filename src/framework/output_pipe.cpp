// The pipe through which a child's output reaches the launcher.
#include "framework/output_pipe.h"

#include <sddl.h>

#include "framework/own_user.h"
#include "framework/session_rules.h"
#include "util/wide_text.h"

namespace {

// Not before Vista; older systems refuse the flag, and take the pipe without it.
constexpr DWORD kRejectRemoteClients = 0x00000008;

// RtlGenRandom, exported by advapi32 under this name: bcrypt.dll is not among the system's known
// DLLs, which alone the launcher may load by name.
using GenRandomFn = BOOLEAN(WINAPI*)(PVOID, ULONG);

// This process's user as SDDL text ("S-1-5-21-..."); "" when the token cannot say.
std::string UserSid() {
    OwnUser user;
    wchar_t* text = nullptr;
    if (user.sid == nullptr || !ConvertSidToStringSidW(user.sid, &text)) return "";
    std::string sid = Narrow(text, wcslen(text));
    LocalFree(text);
    return sid;
}

}  // namespace

bool OutputPipe::Create() {
    // Anonymous pipes cannot be read asynchronously: a named one of this process's own, one
    // instance only, whose one client this process opens at once. Its name is random, so that no
    // other program can make it first, and only this user may open it.
    auto genRandom = reinterpret_cast<GenRandomFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "SystemFunction036")));
    std::string sid = UserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sid.empty() || genRandom == nullptr ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorW(Widen(OwnerOnlySecurity(sid)).c_str(),
                                                              SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    DWORD reject = kRejectRemoteClients;
    for (int attempt = 0; attempt < 4 && !m_read.IsValid(); ++attempt) {
        unsigned char random[16] = {};
        if (!genRandom(random, sizeof random)) break;
        std::wstring name = Widen(PipeName(random));
        *m_read.Receive() = CreateNamedPipeW(
            name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | reject, 1, 0, sizeof m_buffer, 0, &security);
        // Only a system that does not know the flag goes without it.
        if (!m_read.IsValid() && GetLastError() == ERROR_INVALID_PARAMETER && reject != 0) {
            reject = 0;
            continue;
        }
        if (!m_read.IsValid()) continue;
        *m_child.Receive() = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (!m_child.IsValid()) m_read.Close();
    }
    LocalFree(descriptor);
    *m_event.Receive() = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return m_read.IsValid() && m_event.IsValid();
}

bool OutputPipe::StartRead() {
    m_overlapped = OVERLAPPED{};
    m_overlapped.hEvent = m_event.Get();
    ResetEvent(m_event.Get());
    // Whether it finished at once or waits, the event tells: FinishRead collects either.
    if (ReadFile(m_read.Get(), m_buffer, sizeof m_buffer, nullptr, &m_overlapped) ||
        GetLastError() == ERROR_IO_PENDING) {
        m_pending = true;
        return true;
    }
    return false;
}

bool OutputPipe::FinishRead(std::string& data) {
    DWORD read = 0;
    m_pending = false;
    if (!GetOverlappedResult(m_read.Get(), &m_overlapped, &read, FALSE)) return false;
    data.append(m_buffer, read);
    return true;
}

void OutputPipe::Cancel() {
    if (!m_pending) return;
    CancelIo(m_read.Get());
    DWORD read = 0;
    GetOverlappedResult(m_read.Get(), &m_overlapped, &read, TRUE);
    m_pending = false;
}
