// Java's output as UTF-8, line by line.
#include "util/output_decoder.h"

namespace {

// A line that never ends is decoded in parts of about this size.
constexpr size_t kLongestPending = 4096;

// The length of the sequence that a lead byte begins, 0 for a byte that begins none.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Whether the sequence at `at` is whole and valid; its length in *length.
bool ValidSequence(const std::string& text, size_t at, size_t* length) {
    auto byte = [&](size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    size_t n = SequenceLength(byte(at));
    *length = n;
    if (n == 0 || at + n > text.size()) return false;
    for (size_t i = 1; i < n; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return false;
    }
    unsigned char lead = byte(at), second = n > 1 ? byte(at + 1) : 0;
    // Overlong three- and four-byte forms, surrogates, and beyond U+10FFFF.
    if (lead == 0xE0 && second < 0xA0) return false;
    if (lead == 0xED && second > 0x9F) return false;
    if (lead == 0xF0 && second < 0x90) return false;
    return !(lead == 0xF4 && second > 0x8F);
}

// How many bytes at the end begin a character that the next piece may complete.
size_t IncompleteEnd(const std::string& text) {
    for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        unsigned char c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) == 0x80) continue;
        return SequenceLength(c) > back ? back : 0;
    }
    return 0;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    for (size_t at = 0, length = 0; at < text.size(); at += length) {
        if (!ValidSequence(text, at, &length)) return false;
    }
    return true;
}

std::string OutputDecoder::Decode(const std::string& line) const {
    return IsValidUtf8(line) ? line : m_fromAnsi(line);
}

std::string OutputDecoder::Add(const char* data, size_t size) {
    m_pending.append(data, size);
    std::string decoded;
    size_t begin = 0;
    for (size_t end; (end = m_pending.find('\n', begin)) != std::string::npos; begin = end + 1) {
        decoded += Decode(m_pending.substr(begin, end + 1 - begin));
    }
    m_pending.erase(0, begin);
    if (m_pending.size() > kLongestPending) {
        size_t whole = m_pending.size() - IncompleteEnd(m_pending);
        std::string part = m_pending.substr(0, whole);
        if (IsValidUtf8(part)) {
            decoded += part;
            m_pending.erase(0, whole);
        } else {
            decoded += Flush();
        }
    }
    return decoded;
}

std::string OutputDecoder::Flush() {
    std::string rest = Decode(m_pending);
    m_pending.clear();
    return rest;
}
