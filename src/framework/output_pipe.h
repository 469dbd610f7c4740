// Owner of the pipe through which a child's output reaches the launcher, read so that one thread
// can wait for the child, its output and this thread's messages at once.
#pragma once
#include <windows.h>

#include <string>

#include "framework/unique_handle.h"

class OutputPipe {
public:
    OutputPipe() = default;
    ~OutputPipe() { Cancel(); }
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;

    // False when the system makes no pipe: the child then writes nowhere.
    bool Create();
    // The child's standard output and error: not inheritable until the start makes it so.
    HANDLE ChildEnd() const { return m_child.Get(); }
    // Once the child has its copy: the pipe ends when the child's copies close.
    void CloseChildEnd() { m_child.Close(); }

    // Starts the next read; false once every writer has closed the pipe.
    bool StartRead();
    // Signalled when the read started has finished.
    HANDLE ReadDone() const { return m_event.Get(); }
    // After ReadDone: what was read, appended; false when the pipe has ended instead.
    bool FinishRead(std::string& data);
    // Abandons a read still waiting (a writer that outlives the child), and waits until it has let go
    // of the buffer.
    void Cancel();

private:
    UniqueHandle m_read, m_child, m_event;
    OVERLAPPED m_overlapped = {};
    bool m_pending = false;
    char m_buffer[65536];
};
