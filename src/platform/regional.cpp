#include "platform/regional.h"

#include <clocale>
#include <cstring>
#include <optional>

namespace {

TRegional ReadLocale() {
    std::setlocale(LC_ALL, "");
    const std::lconv* conv = std::localeconv();
    TRegional regional;
    // A separator of several bytes (or none) cannot be typed as one key: keep the point.
    if (conv->decimal_point != nullptr && std::strlen(conv->decimal_point) == 1) {
        regional.DecimalSeparator = conv->decimal_point[0];
    }
    regional.ThousandSeparator = conv->thousands_sep != nullptr ? conv->thousands_sep : "";
    return regional;
}

std::optional<TRegional>& Current() {
    static std::optional<TRegional> current;
    return current;
}

} // namespace

const TRegional& Regional() {
    std::optional<TRegional>& current = Current();
    if (!current) {
        current = ReadLocale();
    }
    return *current;
}

void SetRegional(const TRegional& regional) {
    Current() = regional;
}
