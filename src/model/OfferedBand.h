#pragma once

// Whether the offered intake lies too far from the estimated one: the deviation d = (estimate −
// offered) ÷ estimate, narrowed to single precision, is below −0.05 or above 0.15, so that less
// than about 85 % or more than about 105 % of the estimate is offered. A deviation that cannot be
// computed counts as too far. An estimate of 0 has no band: callers leave it out.
bool OfferedOutsideBand(float estimate, long double offered);
