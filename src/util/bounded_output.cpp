// What a log keeps of an output that may never end.
#include "util/bounded_output.h"

namespace {

// Keeps the last `bytes` of what it is given, adding what it drops to *dropped and the last byte
// dropped to *lastDropped.
void Keep(std::string& kept, const char* data, size_t size, size_t bytes, unsigned long long* dropped,
          char* lastDropped) {
    kept.append(data, size);
    if (kept.size() <= 2 * bytes) return;
    size_t drop = kept.size() - bytes;
    if (dropped != nullptr) *dropped += drop;
    if (lastDropped != nullptr) *lastDropped = kept[drop - 1];
    kept.erase(0, drop);
}

std::string Last(const std::string& text, size_t bytes) {
    return text.size() > bytes ? text.substr(text.size() - bytes) : text;
}

}  // namespace

std::string BoundedOutput::Add(const char* data, size_t size) {
    Keep(m_recent, data, size, m_recentBytes, nullptr, nullptr);
    size_t head = size < m_headLeft ? size : m_headLeft;
    m_headLeft -= head;
    if (head < size) Keep(m_tail, data + head, size - head, m_tailBytes, &m_dropped, &m_beforeTail);
    return std::string(data, head);
}

std::string BoundedOutput::Ending(unsigned long long& leftOut) const {
    std::string ending = Last(m_tail, m_tailBytes);
    leftOut = m_dropped + (m_tail.size() - ending.size());
    char before = ending.size() < m_tail.size() ? m_tail[m_tail.size() - ending.size() - 1] : m_beforeTail;
    if (leftOut == 0 || before == '\n') return ending;
    // The line cut in two: its end alone would read as a line of its own.
    size_t lineEnd = ending.find('\n');
    size_t cut = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    leftOut += cut;
    return ending.substr(cut);
}

std::string BoundedOutput::Recent() const { return Last(m_recent, m_recentBytes); }
