// Arbitrary bytes as the text a user types into a cell of each kind of field, with either decimal
// separator. A text is accepted or refused with the table's error; the text an accepted value
// shows is accepted again as the same value (the same shown value for reals).

#include "fuzz_support.h"

#include "platform/database_error.h"
#include "platform/memory_table.h"
#include "platform/regional.h"

#include <initializer_list>

namespace {

struct TTable {
    TMemoryTable Table;
    std::vector<TTableField*> Fields;

    TTable() {
        Fields.push_back(&Table.AddField("Codigo", TFieldKind::Integer));
        Fields.push_back(&Table.AddField("Nombre", TFieldKind::Text, 25));
        Fields.push_back(&Table.AddField("Unidad", TFieldKind::Text, 1));
        Fields.push_back(&Table.AddField("Min", TFieldKind::Currency));
        Fields.push_back(&Table.AddField("Max", TFieldKind::Currency));
        Fields.back()->SetDisplayFormat("0.0000");
        Fields.push_back(&Table.AddField("Requerido", TFieldKind::Currency));
        Fields.back()->SetDisplayFormat("0");
        Fields.push_back(&Table.AddField("Enviar", TFieldKind::Boolean));
        Fields.back()->SetDisplayValues("Sí;No");
        Fields.push_back(&Table.AddField("Activo", TFieldKind::Boolean));
        Table.Open();
        Table.Append();
    }
};

void CheckShownValue(const TTableField& field, const TFieldValue& value) {
    const std::string shown = field.DisplayText(value);
    TFieldValue again;
    try {
        again = field.FromText(field.EditText(value));
    } catch (const EDatabaseError&) {
        Require(false);
    }
    Require(field.DisplayText(again) == shown);
    if (field.Kind() != TFieldKind::Currency)
        Require(again == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    for (const char separator : {'.', ','}) {
        SetRegional({separator, separator == ',' ? "." : ","});
        TTable table;
        for (const TTableField* field : table.Fields) {
            try {
                table.Table.SetText(*field, text);
            } catch (const EDatabaseError&) {
                Require(table.Table.Value(*field) == TFieldValue());
                continue;
            }
            CheckShownValue(*field, table.Table.Value(*field));
        }
    }
    return 0;
}
