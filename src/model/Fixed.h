#pragma once

#include <cstdint>

// A fixed-point amount: a signed 64-bit count of ten-thousandths (four exact decimals).
// Amounts are integers so that reports and the host block carry exactly what was stored.
struct TFixed {
    int64_t Count = 0;

    // The count nearest to value × 10000, ties to even; a value outside the range of the count
    // raises EInvalidOp.
    static TFixed FromReal(long double value);
    // The count nearest to count, ties to even (for values already in ten-thousandths).
    static TFixed FromCount(long double count);

    long double ToReal() const { return static_cast<long double>(Count) / 10000.0L; }
    // The double nearest to the amount, as tables and workbooks hold it.
    double ToDouble() const { return static_cast<double>(Count) / 10000.0; }
    friend bool operator==(TFixed, TFixed) = default;
};
