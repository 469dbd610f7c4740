// The pipe through which a child's output reaches the launcher.
#include "framework/output_pipe.h"

#include "util/wide_text.h"

namespace {

// Not before Vista; older systems refuse the flag, and take the pipe without it.
constexpr DWORD kRejectRemoteClients = 0x00000008;

}  // namespace

bool OutputPipe::Create() {
    // Anonymous pipes cannot be read asynchronously: a named one of this process's own, one
    // instance only, whose one client this process opens at once.
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 4 && !m_read.IsValid(); ++attempt) {
        std::string name = "\\\\.\\pipe\\Tessaly-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount()) + "-" + std::to_string(++serial);
        DWORD mode =
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | (attempt % 2 == 0 ? kRejectRemoteClients : 0);
        *m_read.Receive() = CreateNamedPipeW(
            Widen(name).c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            mode, 1, 0, sizeof m_buffer, 0, nullptr);
        if (!m_read.IsValid()) continue;
        *m_child.Receive() =
            CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (!m_child.IsValid()) m_read.Close();
    }
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
