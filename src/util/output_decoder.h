// Java's output as UTF-8, line by line. A program run with -Dfile.encoding=UTF-8 (or
// stdout.encoding) writes UTF-8; the JVM's own messages stay in the ANSI code page.
#pragma once
#include <string>

// Strictly: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& text);

class OutputDecoder {
public:
    using Converter = std::string (*)(const std::string& ansi);
    // fromAnsi: text in the ANSI code page as UTF-8.
    explicit OutputDecoder(Converter fromAnsi) : m_fromAnsi(fromAnsi) {}

    // The lines completed by this piece, each one that is valid UTF-8 as it is, any other
    // converted from the ANSI code page. The rest of a line waits for its end, or for so much of
    // it that it is decoded in parts (a character split across two pieces stays whole).
    std::string Add(const char* data, size_t size);
    // What still waits, decoded: once the output has ended.
    std::string Flush();

private:
    std::string Decode(const std::string& line) const;

    Converter m_fromAnsi;
    std::string m_pending;
};
