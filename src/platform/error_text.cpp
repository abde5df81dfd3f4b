#include "platform/error_text.h"

std::string ErrorReportText(std::string_view message) {
    std::string text(message);
    // Bytes compare unsigned, so a message ending in a non-ASCII letter gets its stop too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}
