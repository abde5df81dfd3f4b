#include "model/OfferedBand.h"

#include "model/Extended.h"
#include "model/FloatError.h"

bool OfferedOutsideBand(float estimate, long double offered) {
    const long double wide = estimate;
    float deviation;
    try {
        deviation = ToSingle(Divide(wide - offered, wide));
    } catch (const EMathError&) {
        deviation = 1;
    }
    return deviation < -0.05L || deviation > 0.15L;
}
