#pragma once

// Checked operations of the model's arithmetic. Every formula is evaluated in long double (the
// 80-bit extended type); these operations raise the errors of FloatError.h where the hardware
// would only produce an infinity or a NaN. Underflow and inexact results are silent.

// dividend ÷ divisor: x ÷ 0 raises EZeroDivide, 0 ÷ 0 EInvalidOp, an infinite quotient of finite
// operands EOverflow.
long double Divide(long double dividend, long double divisor);

// Natural logarithm: 0 raises EZeroDivide, a negative value EInvalidOp.
long double Ln(long double x);

// Common logarithm, with the faults of Ln.
long double Log10(long double x);

// e^x: a finite x whose result is beyond the extended range raises EOverflow.
long double Exp(long double x);

// base^exponent computed as e^(exponent × ln base); a base of 0 gives 0, a negative base raises
// EInvalidOp.
long double Power(long double base, long double exponent);

// x rounded to the nearest single-precision value; a finite x beyond its range raises EOverflow.
float ToSingle(long double x);

// x rounded to the nearest double-precision value; a finite x beyond its range raises EOverflow.
double ToDouble(long double x);
