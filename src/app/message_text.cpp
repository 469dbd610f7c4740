// Text rules of the launcher's messages.
#include "app/message_text.h"

std::string FillText(const std::string& text, const std::vector<std::string>& inserts) {
    std::string filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t index = static_cast<size_t>(text[++i] - '1');
            if (index < inserts.size()) filled += inserts[index];
        } else {
            filled += text[i];
        }
    }
    return filled;
}

std::string LastLines(const std::string& text, size_t count, size_t width) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line.size() > width) {
            size_t cut = width;
            // Continuation bytes (10xxxxxx) belong to the character before them.
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
            line = line.substr(0, cut) + "...";
        }
        lines.push_back(line);
    }
    std::string joined;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        joined += (joined.empty() ? "" : "\n") + lines[i];
    return joined;
}
