#include "platform/error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReportText, AddsStopAfterCharactersSortingAfterIt) {
    const struct {
        const char* Message;
        const char* Expected;
    } cases[] = {
        {"Floating point overflow", "Floating point overflow."},
        {"No se puede crear /tmp/Modelos", "No se puede crear /tmp/Modelos."},
        {"Error 42", "Error 42."},
        {"Unable to write to a/b.VM2/", "Unable to write to a/b.VM2/."},
        {"Terminado.", "Terminado."},
        {"¿Seguro?", "¿Seguro?."},
        {"Falta la sección", "Falta la sección."},
        {"Ya está!", "Ya está!"},
        {"Lista: a, b,", "Lista: a, b,"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorReportText(c.Message), c.Expected) << c.Message;
    }
}

} // namespace
