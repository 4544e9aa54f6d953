// Solution of small dense linear systems M x = g (n is 3 or 4 in this
// program, any n >= 1 works) by Gauss-Jordan inversion with complete
// pivoting, followed by x = M^-1 g.
//
// matrix holds n row pointers, each to n elements; element (i, j) is
// matrix[i][j]. The matrix and g are only read; x receives n values and may
// be the same array as g. Work storage is allocated per call; no state is
// kept between calls. n <= 0 leaves x untouched.
//
// Singular matrices: when elimination meets a pivot that is zero, or whose
// modulus is at most 32 n machine epsilons times that of the first (largest)
// pivot, every element of x is set to NaN. The second case covers matrices
// that are singular in exact arithmetic but leave rounding residue instead
// of a zero pivot, such as two equal columns of complex elements. It also
// rejects systems whose pivots span more than about thirteen orders of
// magnitude, whether from ill-conditioning, where hardly a digit of x would
// be correct, or from extreme scaling of rows or columns.
#pragma once

#include "numeric/complex.h"

namespace kelvane {

void SolveLinear(const double* const* matrix, const double* g, int n, double* x);
void SolveLinearComplex(const Complex* const* matrix, const Complex* g, int n, Complex* x);

}  // namespace kelvane
