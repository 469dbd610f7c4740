// Fuzz targets for the pure rules, one per build (-DRULE=<function>): each checks a property
// that must hold for every input, under AddressSanitizer and UBSan.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/launch_params.h"
#include "javafind/version_rules.h"
#include "settings/user_options_rules.h"
#include "util/bounded_output.h"
#include "util/number_text.h"
#include "util/output_decoder.h"
#include "util/utf8_text.h"

using std::string;

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    fprintf(stderr, "property broken: %s\n", what);
    abort();
}

// Against the exact decimal expansion that glibc prints for every double, rounded half up. The
// input is the double's bytes when it has eight, else a number in text.
void NumberText(const string& s) {
    double x = std::strtod(s.c_str(), nullptr);
    if (s.size() == sizeof x) std::memcpy(&x, s.data(), sizeof x);
    string got, e(1500, '\0');
    DoubleToText(x, got);
    if (!std::isfinite(x)) return Check(got == (std::isnan(x) ? "nan" : "inf"), "non-finite");
    e.resize(snprintf(&e[0], e.size(), "%.1100f", std::fabs(x)));
    size_t point = e.find('.');
    string digits = e.substr(0, point) + e.substr(point + 1, 5);
    bool carry = e[point + 6] >= '5';
    for (size_t k = digits.size(); carry && k-- > 0;) {
        digits[k] = digits[k] == '9' ? '0' : digits[k] + 1;
        carry = digits[k] == '0';
    }
    string whole = (carry ? "1" : "") + digits.substr(0, digits.size() - 5);
    string decimals = digits.substr(digits.size() - 5);
    // No leading zero from 0.1 to 1.
    if (whole == "0") whole = (x == 0 || decimals >= "10000") ? "" : "0";
    Check(got == whole + "." + decimals, "number text");
}

// Found exactly when a quote that is not the first byte has a second one after it.
void QuotedVersion(const string& s) {
    string text = "untouched";
    size_t first = s.find('"');
    bool found = ExtractQuotedVersion(s, text);
    Check(found == (first != string::npos && first > 0 && s.find('"', first + 1) != string::npos), "found");
    Check(found ? s.compare(first, text.size() + 2, '"' + text + '"') == 0 && text.find('"') == string::npos
                : text == "untouched",
          "text");
}

// The input's bytes, two at a time, as the 16-bit units of a wide text.
std::u16string Units(const string& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(&units[0], bytes.data(), units.size() * 2);
    return units;
}

// Wide arguments (split at zero units) made UTF-8 as the launcher reads them, quoted by the
// launcher and split again by the C runtime's rules come back byte for byte; none that holds a
// wildcard reaches Java unquoted.
void Arguments(const string& bytes) {
    string s = Utf8FromUtf16(Units(bytes));
    std::vector<string> args, split;
    string line, arg;
    for (size_t begin = 0; begin <= s.size();) {
        size_t end = std::min(s.find('\0', begin), s.size());
        args.push_back(s.substr(begin, end - begin));
        string piece;
        AppendArgument(piece, args.back());
        Check(piece.find_first_of("?*") == string::npos || piece[1] == '"', "a wildcard unquoted");
        line += piece;
        begin = end + 1;
    }
    // The C runtime: 2n backslashes and a quote give n and toggle quoting, 2n+1 give n and a
    // quote; backslashes before anything else are themselves; blanks outside quotes separate.
    bool quoted = false, inArgument = false;
    size_t slashes = 0;
    for (char c : line + " ") {
        if (c == '\\' && ++slashes) continue;
        bool blank = !quoted && (c == ' ' || c == '\t');
        inArgument |= slashes > 0 || !blank;
        arg.append(c == '"' ? slashes / 2 : slashes, '\\');
        if (c == '"' && slashes % 2 == 0) {
            quoted = !quoted;
        } else if (!blank) {
            arg += c;
        } else if (inArgument) {
            split.push_back(arg);
            arg.clear();
            inArgument = false;
        }
        slashes = 0;
    }
    Check(split == args, "round trip");
}

// Any 16-bit units (two bytes each) come back from UTF-8 unchanged, and UTF-8 made of any bytes
// converts to what it converts to again.
void Utf16(const string& s) {
    std::u16string units = Units(s);
    string once = Utf8FromUtf16(Utf16FromUtf8(s));
    Check(Utf16FromUtf8(Utf8FromUtf16(units)) == units, "units");
    Check(Utf8FromUtf16(Utf16FromUtf8(once)) == once, "bytes");
}

// Bounds from the first three bytes, then chunks that end at each zero byte: the beginning and the
// end kept are the output's own, what lies between is counted exactly, and an end that follows a
// gap starts on a line of its own.
void Output(const string& s) {
    if (s.size() < 3) return;
    BoundedOutput output(s[0] & 63, s[1] & 63, s[2] & 63);
    string input = s.substr(3), head;
    for (size_t begin = 0, end; begin < input.size(); begin = end + 1) {
        end = std::min(input.find('\0', begin), input.size() - 1);
        head += output.Add(&input[begin], end + 1 - begin);
    }
    unsigned long long leftOut = 0;
    string ending = output.Ending(leftOut);
    Check(head == input.substr(0, s[0] & 63), "the beginning");
    Check(ending.size() <= size_t(s[1] & 63) && head.size() + leftOut + ending.size() == input.size() &&
              input.compare(input.size() - ending.size(), ending.size(), ending) == 0,
          "the end");
    size_t at = input.size() - ending.size();
    Check(leftOut == 0 || ending.empty() || input[at - 1] == '\n' || ending.find('\n') == string::npos,
          "a line cut");
    size_t recent = std::min(input.size(), size_t(s[2] & 63));
    Check(output.Recent() == input.substr(input.size() - recent), "the recent");
}

// Java's output decoded in chunks that end at each zero byte is always valid UTF-8, and (lines
// shorter than what is held) each line decoded by itself: as it is when valid, else as Latin-1.
string Latin1(const string& text) {
    string utf8;
    for (unsigned char c : text)
        utf8 += c < 0x80 ? string(1, char(c)) : string{char(0xC0 | c >> 6), char(0x80 | (c & 63))};
    return utf8;
}

void Decoder(const string& s) {
    OutputDecoder decoder(Latin1);
    string got, expected;
    for (size_t begin = 0, end; begin < s.size(); begin = end + 1) {
        end = std::min(s.find('\0', begin), s.size() - 1);
        got += decoder.Add(&s[begin], end + 1 - begin);
    }
    got += decoder.Flush();
    for (size_t begin = 0, end; begin < s.size(); begin = end + 1) {
        end = std::min(s.find('\n', begin), s.size() - 1);
        string line = s.substr(begin, end + 1 - begin);
        expected += IsValidUtf8(line) ? line : Latin1(line);
    }
    Check(IsValidUtf8(got), "valid");
    Check(s.size() > 4096 || got == expected, "line by line");
}

// A user's options file, however saved: valid UTF-8 out; every line that is no comment either
// taken whole, as an allowed option without blanks around it or a line break in it, or refused
// with its number and a reason; nothing else.
void Options(const string& s) {
    string text = DecodeOptionsFile(s, Latin1);
    Check(IsValidUtf8(text), "valid");
    UserOptions options = ParseUserOptions(text);
    size_t lines = 0, next = 0;
    for (size_t begin = 0, end; begin < text.size(); begin = end + 1 + (text.compare(end, 2, "\r\n") == 0)) {
        end = std::min(text.find_first_of("\r\n", begin), text.size());
        size_t first = text.find_first_not_of(" \t", begin);
        lines += first < end && text[first] != '#';
    }
    Check(options.accepted.size() + options.refused.size() == lines, "every line");
    for (const string& option : options.accepted) {
        Check(CheckUserOption(option) == OptionRefusal::kNone && option[0] == '-', "allowed");
        Check(option.find_first_of("\r\n") == string::npos && option.back() != ' ', "whole");
    }
    for (const RefusedLine& line : options.refused) {
        Check(line.number > next && line.why != OptionRefusal::kNone, "numbered, with a reason");
        next = line.number;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RULE(string(reinterpret_cast<const char*>(data), size));
    return 0;
}
