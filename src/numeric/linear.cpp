#include "numeric/linear.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace kelvane {

namespace {

// Pivot magnitudes: the square of a real, the squared modulus of a complex.
double Magnitude(double v) { return v * v; }
double Magnitude(Complex v) { return Norm(v); }

// Moduli for the singularity test, free of overflow and underflow.
double Modulus(double v) { return std::fabs(v); }
double Modulus(Complex v) { return std::hypot(v.re, v.im); }

// A pivot this small, per row of the system, relative to the first (largest)
// pivot is taken for rounding residue: elimination of an exactly singular
// matrix leaves such residues instead of exact zeros, e.g. for two equal
// complex columns, where p/(-p) is not exactly -1. Residues of a few machine
// epsilons per row are typical; a solution past this limit would keep at
// most two or three digits.
constexpr double kSingularPivot = 32 * std::numeric_limits<double>::epsilon();

double NotANumber(double) { return std::numeric_limits<double>::quiet_NaN(); }
Complex NotANumber(Complex) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {nan, nan};
}

// In-place Gauss-Jordan inversion with complete pivoting in the
// sign-flipping form: each row or column interchange negates the displaced
// line, so it acts as a determinant-preserving rotation, and the
// interchanges are undone in reverse order once elimination is complete.
// Returns false, with w partly reduced, when a pivot is zero or rounding
// residue (see kSingularPivot).
template <typename T>
bool InvertInPlace(std::vector<T>& w, int n) {
    const auto at = [&w, n](int i, int j) -> T& {
        return w[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j)];
    };
    std::vector<int> pivot_row(static_cast<std::size_t>(n));
    std::vector<int> pivot_col(static_cast<std::size_t>(n));
    double singular_below = 0;

    for (int k = 0; k < n; ++k) {
        // Largest element of the trailing block; ties keep the first found, so
        // the diagonal wins a tie.
        T p = at(k, k);
        double p_mag = Magnitude(p);
        int prow = k, pcol = k;
        for (int i = k; i < n; ++i) {
            for (int j = k; j < n; ++j) {
                const double m = Magnitude(at(i, j));
                if (m > p_mag) {
                    p = at(i, j);
                    p_mag = m;
                    prow = i;
                    pcol = j;
                }
            }
        }
        pivot_row[static_cast<std::size_t>(k)] = prow;
        pivot_col[static_cast<std::size_t>(k)] = pcol;
        const double p_modulus = Modulus(p);
        if (k == 0) singular_below = kSingularPivot * n * p_modulus;
        if (p_modulus == 0 || p_modulus <= singular_below) return false;

        if (pcol > k) {
            for (int i = 0; i < n; ++i) {
                std::swap(at(i, k), at(i, pcol));
                at(i, pcol) = -at(i, pcol);
            }
        }
        if (prow > k) {
            for (int j = 0; j < n; ++j) {
                std::swap(at(k, j), at(prow, j));
                at(prow, j) = -at(prow, j);
            }
        }

        const T minus_p = -p;
        for (int j = 0; j < n; ++j) {
            if (j != k) at(k, j) = at(k, j) / minus_p;
        }
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            for (int j = 0; j < n; ++j) {
                if (j != k) at(i, j) = at(i, k) * at(k, j) + at(i, j);
            }
        }
        for (int i = 0; i < n; ++i) {
            if (i != k) at(i, k) = at(i, k) / p;
        }
        at(k, k) = 1.0 / p;
    }

    // Undo the interchanges, last first: a column interchange of the matrix
    // becomes a row interchange of its inverse and vice versa.
    for (int k = n - 2; k >= 0; --k) {
        const int pcol = pivot_col[static_cast<std::size_t>(k)];
        if (pcol > k) {
            for (int j = 0; j < n; ++j) {
                std::swap(at(k, j), at(pcol, j));
                at(k, j) = -at(k, j);
            }
        }
        const int prow = pivot_row[static_cast<std::size_t>(k)];
        if (prow > k) {
            for (int i = 0; i < n; ++i) {
                std::swap(at(i, k), at(i, prow));
                at(i, k) = -at(i, k);
            }
        }
    }
    return true;
}

template <typename T>
void Solve(const T* const* matrix, const T* g, int n, T* x) {
    if (n <= 0) return;
    const std::size_t size = static_cast<std::size_t>(n);
    std::vector<T> w(size * size);
    for (std::size_t i = 0; i < size; ++i) {
        for (std::size_t j = 0; j < size; ++j) w[i * size + j] = matrix[i][j];
    }

    if (!InvertInPlace(w, n)) {
        for (std::size_t i = 0; i < size; ++i) x[i] = NotANumber(T{});
        return;
    }

    // Accumulate into work storage first so that x may alias g.
    std::vector<T> result(size);
    for (std::size_t i = 0; i < size; ++i) {
        T sum{};
        for (std::size_t j = 0; j < size; ++j) sum += w[i * size + j] * g[j];
        result[i] = sum;
    }
    for (std::size_t i = 0; i < size; ++i) x[i] = result[i];
}

}  // namespace

void SolveLinear(const double* const* matrix, const double* g, int n, double* x) { Solve(matrix, g, n, x); }

void SolveLinearComplex(const Complex* const* matrix, const Complex* g, int n, Complex* x) { Solve(matrix, g, n, x); }

}  // namespace kelvane
