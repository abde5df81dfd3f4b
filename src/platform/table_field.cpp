#include "platform/table_field.h"

#include "platform/database_error.h"
#include "platform/number_text.h"
#include "platform/regional.h"
#include "platform/utf8_text.h"

#include <cmath>
#include <limits>

namespace {

std::string_view WithoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

EDatabaseError Refused(std::string_view text, const char* kind, const TTableField& field) {
    std::string message(1, '\'');
    message.append(text).append("' is not a valid ").append(kind).append(" value for field '");
    return EDatabaseError(message.append(field.DisplayLabel).append("'"));
}

} // namespace

// A number beyond the range of a double is refused like any other text that is not a value of
// the field, rather than stored as an infinity. A Boolean text is compared with as many leading
// characters of the text of false, then of true, as it has itself: "n" and "NO" mean false, "s"
// and "SÍ" true with "Sí" and "No".
TFieldValue TTableField::FromText(std::string_view text) const {
    if (Kind == TFieldKind::Text)
        return std::string(Utf8Left(text, Size));
    if (text.empty())
        return {};
    if (Kind == TFieldKind::Integer) {
        int32_t value = 0;
        if (!ParseInteger(WithoutBlanks(text), value))
            throw Refused(text, "integer", *this);
        return value;
    }
    if (Kind == TFieldKind::Currency) {
        long double value = 0;
        if (!ParseReal(WithoutBlanks(text), Regional().DecimalSeparator, value) ||
            std::fabs(value) > std::numeric_limits<double>::max())
            throw Refused(text, "floating point", *this);
        return static_cast<double>(value);
    }
    const std::size_t length = Utf8Length(text);
    if (Utf8SameText(text, Utf8Left(FalseText, length)))
        return false;
    if (Utf8SameText(text, Utf8Left(TrueText, length)))
        return true;
    throw Refused(text, "boolean", *this);
}

TFieldValue TTableField::Fitted(TFieldValue value) const {
    if (auto* text = std::get_if<std::string>(&value))
        *text = std::string(Utf8Left(*text, Size));
    return value;
}

std::string TTableField::DisplayText(const TFieldValue& value) const {
    if (const auto* number = std::get_if<int32_t>(&value))
        return std::to_string(*number);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* real = std::get_if<double>(&value)) {
        const auto point = DisplayFormat.find('.');
        const int decimals = point == std::string::npos ? 0 : int(DisplayFormat.size() - point - 1);
        return FormatFixed(*real, decimals, Regional().DecimalSeparator);
    }
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? TrueText : FalseText;
    return {};
}
