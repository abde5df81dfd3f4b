#include "platform/table_field.h"

#include "platform/database_error.h"
#include "platform/number_text.h"
#include "platform/regional.h"
#include "platform/utf8_text.h"

#include <cmath>
#include <limits>

namespace {

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string_view WithoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

TTableField::TTableField(std::string fieldName, TFieldKind kind, int size, int index)
    : FFieldName(std::move(fieldName)), FKind(kind), FSize(size), FIndex(index),
      FAlignment(kind == TFieldKind::Integer || kind == TFieldKind::Currency
                     ? TFieldAlignment::Right
                     : TFieldAlignment::Left) {
    if (kind == TFieldKind::Text ? size < 1 : size != 0)
        throw EDatabaseError("Invalid size for field " + Quoted(FFieldName));
}

const std::string& TTableField::DisplayLabel() const {
    return FDisplayLabel.empty() ? FFieldName : FDisplayLabel;
}

void TTableField::RequireKind(TFieldKind kind, const char* property) const {
    if (FKind != kind)
        throw EDatabaseError("Field " + Quoted(FFieldName) + " has no " + property);
}

void TTableField::SetDisplayFormat(std::string format) {
    RequireKind(TFieldKind::Currency, "display format");
    const bool wellFormed =
        format == "0" || (format.size() > 2 && format.starts_with("0.") &&
                          format.find_first_not_of('0', 2) == std::string::npos);
    if (!wellFormed)
        throw EDatabaseError("Invalid display format " + Quoted(format) + " for field " +
                             Quoted(FFieldName));
    FDecimals = format == "0" ? 0 : static_cast<int>(format.size()) - 2;
    FDisplayFormat = std::move(format);
}

void TTableField::SetDisplayValues(std::string values) {
    RequireKind(TFieldKind::Boolean, "display values");
    const auto separator = values.find(';');
    FTrueText = values.substr(0, separator);
    FFalseText = separator == std::string::npos ? std::string() : values.substr(separator + 1);
    FDisplayValues = std::move(values);
}

TFieldValue TTableField::FromText(std::string_view text) const {
    switch (FKind) {
    case TFieldKind::Integer:
        return IntegerFromText(text);
    case TFieldKind::Text:
        return std::string(Utf8Left(text, FSize));
    case TFieldKind::Currency:
        return CurrencyFromText(text);
    case TFieldKind::Boolean:
        return BooleanFromText(text);
    }
    return {};
}

TFieldValue TTableField::IntegerFromText(std::string_view text) const {
    if (text.empty())
        return {};
    int32_t value = 0;
    if (!ParseInteger(WithoutBlanks(text), value))
        throw EDatabaseError(Quoted(text) + " is not a valid integer value for field " +
                             Quoted(DisplayLabel()));
    return value;
}

// A number beyond the range of a double is refused like any other text that is not a value of
// the field, rather than stored as an infinity.
TFieldValue TTableField::CurrencyFromText(std::string_view text) const {
    if (text.empty())
        return {};
    long double value = 0;
    if (!ParseReal(WithoutBlanks(text), Regional().DecimalSeparator, value) ||
        std::fabs(value) > std::numeric_limits<double>::max())
        throw EDatabaseError(Quoted(text) + " is not a valid floating point value for field " +
                             Quoted(DisplayLabel()));
    return static_cast<double>(value);
}

// The text is compared with as many leading characters of the text of false, then of true, as
// it has itself: "n" and "NO" mean false, "s" and "SÍ" true with "Sí;No".
TFieldValue TTableField::BooleanFromText(std::string_view text) const {
    if (text.empty())
        return {};
    const std::size_t length = Utf8Length(text);
    if (Utf8SameText(text, Utf8Left(FFalseText, length)))
        return false;
    if (Utf8SameText(text, Utf8Left(FTrueText, length)))
        return true;
    throw EDatabaseError(Quoted(text) + " is not a valid boolean value for field " +
                         Quoted(DisplayLabel()));
}

TFieldValue TTableField::Checked(TFieldValue value) const {
    if (std::holds_alternative<std::monostate>(value))
        return value;
    const bool matches =
        (FKind == TFieldKind::Integer && std::holds_alternative<int32_t>(value)) ||
        (FKind == TFieldKind::Text && std::holds_alternative<std::string>(value)) ||
        (FKind == TFieldKind::Currency && std::holds_alternative<double>(value)) ||
        (FKind == TFieldKind::Boolean && std::holds_alternative<bool>(value));
    if (!matches)
        throw EDatabaseError("Type mismatch for field " + Quoted(FFieldName));
    if (auto* text = std::get_if<std::string>(&value))
        *text = std::string(Utf8Left(*text, FSize));
    return value;
}

std::string TTableField::DisplayText(const TFieldValue& value) const {
    if (const auto* number = std::get_if<int32_t>(&value))
        return std::to_string(*number);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* real = std::get_if<double>(&value))
        return FormatFixed(*real, FDecimals, Regional().DecimalSeparator);
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? FTrueText : FFalseText;
    return {};
}
