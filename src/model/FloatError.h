#pragma once

#include <stdexcept>

// Floating-point faults of the model's arithmetic. They are raised by explicit checks at the
// failing operation (never by hardware traps) and carry the texts the user sees.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Division by zero and the logarithm of zero: "Floating point division by zero".
class EZeroDivide : public EMathError {
public:
    EZeroDivide();
};

// Logarithm or fractional power of a negative number, 0/0, a value beyond a fixed-point field:
// "Invalid floating point operation".
class EInvalidOp : public EMathError {
public:
    EInvalidOp();
};

// A result too large for its type: "Floating point overflow".
class EOverflow : public EMathError {
public:
    EOverflow();
};
