#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

enum class TFieldKind { Integer, Text, Currency, Boolean };

// The value of one cell: null (std::monostate, an empty cell) or a value of its field's kind:
// int32_t for Integer, std::string (UTF-8) for Text, double for Currency, bool for Boolean.
using TFieldValue = std::variant<std::monostate, int32_t, std::string, double, bool>;

// One field of a table: its kind and how its values are shown and read from the text a user
// types. The values themselves live in the table's rows.
struct TTableField {
    std::string FieldName;
    TFieldKind Kind = TFieldKind::Text;
    int Size = 0;  // the characters of a Text field
    int Index = 0; // the field's position in its table
    // The grid title and the name in messages.
    std::string DisplayLabel = FieldName;
    // Currency: "0." and a zero for each decimal shown and edited; the regional decimal separator
    // stands in for the point.
    std::string DisplayFormat = "0.00";
    // Boolean: the texts of true and of false.
    std::string TrueText = "True";
    std::string FalseText = "False";
    bool Visible = true;

    // The value a user means by text; throws EDatabaseError with the user's message when the
    // text is not a value of this field. A text is cut to the field's size, as Fitted cuts one.
    TFieldValue FromText(std::string_view text) const;
    TFieldValue Fitted(TFieldValue value) const;
    // The text of a cell as shown, and as an edit of it starts; a null value shows empty.
    std::string DisplayText(const TFieldValue& value) const;
};
