// Arbitrary bytes as the text a user types into a cell of each kind of field, with either decimal
// separator. A text is accepted or refused with the table's error; the text an accepted value
// shows is accepted again as the same value (the same shown value for reals).

#include "fuzz_support.h"

#include "platform/database_error.h"
#include "platform/regional.h"
#include "platform/table_field.h"

#include <initializer_list>

namespace {

const TTableField Fields[] = {
    {.FieldName = "Codigo", .Kind = TFieldKind::Integer},
    {.FieldName = "Nombre", .Size = 25},
    {.FieldName = "Unidad", .Size = 1},
    {.FieldName = "Min", .Kind = TFieldKind::Currency},
    {.FieldName = "Max", .Kind = TFieldKind::Currency, .DisplayFormat = "0.0000"},
    {.FieldName = "Requerido", .Kind = TFieldKind::Currency, .DisplayFormat = "0"},
    {.FieldName = "Enviar", .Kind = TFieldKind::Boolean, .TrueText = "Sí", .FalseText = "No"},
    {.FieldName = "Activo", .Kind = TFieldKind::Boolean}};

void CheckShownValue(const TTableField& field, const TFieldValue& value) {
    const std::string shown = field.DisplayText(value);
    TFieldValue again;
    try {
        again = field.FromText(shown);
    } catch (const EDatabaseError&) {
        Require(false);
    }
    Require(field.DisplayText(again) == shown);
    if (field.Kind != TFieldKind::Currency)
        Require(again == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    for (const char separator : {'.', ','}) {
        SetRegional({separator, separator == ',' ? "." : ","});
        for (const TTableField& field : Fields) {
            TFieldValue value;
            try {
                value = field.FromText(text);
            } catch (const EDatabaseError&) {
                continue;
            }
            CheckShownValue(field, value);
        }
    }
    return 0;
}
