// Arbitrary bytes as a number text, read with either decimal separator. A real that parses is
// finite, formats with four decimals to a text that parses back to within half a unit of the last
// decimal, and as a single-precision value formats as model files write it and parses back to the
// same value. A whole number that parses reads back from its decimal text.

#include "fuzz_support.h"

#include "exchange/ModelFile.h"
#include "model/Extended.h"
#include "model/FloatError.h"
#include "platform/number_text.h"

#include <cfloat>
#include <cmath>
#include <initializer_list>

namespace {

void CheckReal(long double value, char separator) {
    Require(std::isfinite(value));

    long double back = 0;
    Require(ParseReal(FormatFixed(value, 4, separator), separator, back));
    Require(WithinHalfTenThousandth(back, value));

    if (std::fabs(value) > FLT_MAX)
        return;
    float single = 0;
    try {
        single = ToSingle(value);
    } catch (const EOverflow&) {
        // Values just below the largest float may round beyond it.
        return;
    }
    Require(ParseReal(FormatModelReal(single, separator), separator, back));
    Require(ToSingle(back) == single);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsText(data, size);
    for (const char separator : {'.', ','}) {
        long double value = 0;
        if (ParseReal(text, separator, value))
            CheckReal(value, separator);
    }
    int32_t whole = 0;
    if (ParseInteger(text, whole)) {
        int32_t back = 0;
        Require(ParseInteger(std::to_string(whole), back) && back == whole);
    }
    return 0;
}
