#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

enum class TFieldKind { Integer, Text, Currency, Boolean };

enum class TFieldAlignment { Left, Right, Center };

// The value of one cell: null (std::monostate, an empty cell) or a value of its field's kind:
// int32_t for Integer, std::string (UTF-8) for Text, double for Currency, bool for Boolean.
using TFieldValue = std::variant<std::monostate, int32_t, std::string, double, bool>;

// One field of a TMemoryTable: its kind and how its values are shown, edited and read from the
// text a user types. The values themselves live in the table's rows.
class TTableField {
public:
    // size: the number of characters of a Text field (at least 1); 0 for every other kind.
    TTableField(std::string fieldName, TFieldKind kind, int size, int index);

    const std::string& FieldName() const { return FFieldName; }
    TFieldKind Kind() const { return FKind; }
    int Size() const { return FSize; }
    // The field's position in its table.
    int Index() const { return FIndex; }

    // The grid title and the name in messages; the field name while no label is set.
    const std::string& DisplayLabel() const;
    void SetDisplayLabel(std::string label) { FDisplayLabel = std::move(label); }

    // Currency fields only: "0" or "0." followed by zeros, the number of decimals shown and
    // edited, with the regional decimal separator. "0.00" until set.
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(std::string format);

    // Boolean fields only: the text of true, ";", the text of false ("Sí;No"). "True;False" until
    // set; without ";" the whole text is the text of true and false shows empty.
    const std::string& DisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(std::string values);

    TFieldAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TFieldAlignment alignment) { FAlignment = alignment; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool visible) { FVisible = visible; }

    // The value a user means by text; throws EDatabaseError with the user's message when the
    // text is not a value of this field.
    TFieldValue FromText(std::string_view text) const;
    // value checked against the field's kind (EDatabaseError when it does not match), a text cut
    // to the field's size.
    TFieldValue Checked(TFieldValue value) const;

    // The text of a cell as shown; a null value shows empty.
    std::string DisplayText(const TFieldValue& value) const;
    // The text an edit of the cell starts from; the same as shown, there is no edit format.
    std::string EditText(const TFieldValue& value) const { return DisplayText(value); }

private:
    TFieldValue IntegerFromText(std::string_view text) const;
    TFieldValue CurrencyFromText(std::string_view text) const;
    TFieldValue BooleanFromText(std::string_view text) const;
    void RequireKind(TFieldKind kind, const char* property) const;

    std::string FFieldName;
    TFieldKind FKind;
    int FSize;
    int FIndex;
    std::string FDisplayLabel;
    std::string FDisplayFormat = "0.00";
    int FDecimals = 2;
    std::string FDisplayValues = "True;False";
    std::string FTrueText = "True";
    std::string FFalseText = "False";
    TFieldAlignment FAlignment;
    bool FVisible = true;
};
