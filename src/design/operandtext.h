#pragma once
#include <string_view>

// The numbers of the evaluator live as texts: a number typed in a formula is pushed as
// typed, and every intermediate result is pushed as the text of C's "%.15G" and read back by its
// leading number when it is used. These functions give the values those texts read as, without
// building the texts in the common cases; the results are the same to the last bit.
namespace design {

// The value that the "%.15G" text of a finite `x` reads back as: `x` rounded to 15 significant
// decimal digits (to nearest, ties to even), then to the nearest double. A zero of either sign
// reads as +0; a value whose text exceeds the double range reads as an infinity of its sign.
double resultAsOperand(double x);

// The value of a number token typed in a formula: ASCII digits with at most one "." and at least
// one digit ("12", "1.5", ".5", "5."), read to the nearest double. A token too large for a double
// reads as +infinity, one too small as 0.
double numberTokenValue(std::string_view digits);

// The final rounding of an evaluation: the nearest single-precision number, or 0 when `x` is not
// finite or rounds beyond the single-precision range.
float finalSingle(double x);

} // namespace design
