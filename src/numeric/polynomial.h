// Closed-form roots of cubic and quartic polynomials with complex
// coefficients: Cardano's formulas for the cubic and Ferrari's reduction to
// a resolvent cubic for the quartic. No iteration; the cost is fixed.
//
// Polynomials are arrays of coefficients in ascending powers: element k
// multiplies z^k and the last element is the leading coefficient, which
// must be non-zero (a zero leading coefficient is divided by as it stands).
#pragma once

#include "numeric/complex.h"

namespace kelvane {

// All three roots of c0 + c1 z + c2 z^2 + c3 z^3, in the Cardano order
// S + T - a/3, S w+ + T w- - a/3, S w- + T w+ - a/3 with w+- = -1/2 +- i sqrt(3)/2,
// where a = c2/c3 and S, T are the two cube roots with S T = -Q.
// Example: z^3 - 1 gives 1, (-1/2, sqrt(3)/2), (-1/2, -sqrt(3)/2).
void CubicRoots(const Complex coefficients[4], Complex roots[3]);

// All four roots of c0 + c1 z + ... + c4 z^4. Each of the three resolvent
// roots yields a set of four candidates; the set of resolvent root 0 is
// written first and the set of a later resolvent root replaces it when its
// sum of squared residuals does not exceed that of set 0.
// If that first residual sum is not a number (NaN coefficients, overflow),
// roots is left exactly as the caller supplied it; callers that pass
// default-constructed (zero) roots thus see four equal roots.
void QuarticRoots(const Complex coefficients[5], Complex roots[4]);

// c0 + z (c1 + z (c2 + z (c3 + z c4))).
Complex EvalQuartic(const Complex coefficients[5], Complex z);

}  // namespace kelvane
