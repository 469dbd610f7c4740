// What a log keeps of an output that may never end: its beginning, written through at once, and
// its end, held until the output is over; what lies between is counted, not kept.
#pragma once
#include <string>

class BoundedOutput {
public:
    BoundedOutput(size_t headBytes, size_t tailBytes, size_t recentBytes)
        : m_headLeft(headBytes), m_tailBytes(tailBytes), m_recentBytes(recentBytes) {}

    // Takes the next piece of output; returns the part of it that belongs to the beginning.
    std::string Add(const char* data, size_t size);
    // What was kept past the beginning, from the first whole line on when something was left out
    // before it; leftOut receives the number of bytes between the beginning and that.
    std::string Ending(unsigned long long& leftOut) const;
    // The last recentBytes of the whole output, beginning included.
    std::string Recent() const;
    // Whether the beginning is complete: what comes now is held, not written through.
    bool PastHead() const { return m_headLeft == 0; }

private:
    size_t m_headLeft;
    size_t m_tailBytes;
    size_t m_recentBytes;
    // Each holds up to twice its size, trimmed to it at once when it grows past that: every byte
    // is copied a bounded number of times, however long the output.
    std::string m_tail;
    std::string m_recent;
    unsigned long long m_dropped = 0;
    char m_beforeTail = '\n';  // the byte just before m_tail, once bytes were dropped
};
