#include <cstdio>

#include "shell/shell.h"

std::string quotedText(std::string_view text, std::size_t longest) {
    std::string quoted = "\"";
    for (std::size_t index = 0; index < text.size() && index < longest; ++index) {
        const unsigned char byte = static_cast<unsigned char>(text[index]);
        if (byte == '"' || byte == '\\') {
            quoted.append(1, '\\').append(1, static_cast<char>(byte));
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted.append(1, static_cast<char>(byte));
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted.append(escaped);
        }
    }
    quoted.append(text.size() > longest ? "\"..." : "\"");
    return quoted;
}
