#pragma once

#include <cstdint>

// Small numeric tools: bit tests, denormal guards and least-squares fitting.

bool IsPowerOfTwo(std::uint32_t n);

// A tiny value of random sign for keeping filters out of the denormal range.
float NextNoise();

// x, or 0 when x is denormal.
float FlushDenormal(float x);

// Whether x is a NaN, told from its bits: no floating-point operation touches x, so a
// signalling NaN raises nothing even where the invalid-operation exception is unmasked.
bool IsNaNBits(float x);

// x to the integer power n (1 for n = 0, the reciprocal for n < 0).
double IntegerPower(double x, int n);

// c[0] + c[1] x + ... + c[degree] x^degree.
double EvaluatePolynomial(double x, const double* coefficients, int degree);
float EvaluatePolynomial(float x, const float* coefficients, int degree);

// In-place LU decomposition of the row-major n x n `matrix` with partial pivoting and
// implicit row scaling. `permutation` receives n row indices, `sign` +1 or -1 by the
// parity of the row swaps. False, with nothing done, when a row is all zeros.
bool LUDecompose(double* matrix, int n, int* permutation, double* sign);

// Solves A x = b with the decomposed matrix; `vector` holds b and receives x.
void LUBackSubstitute(const double* matrix, int n, const int* permutation, double* vector);

// Least-squares polynomial of `degree` (0 to kMaxFitDegree) through `count` points. `sums`
// receives the 2 * degree + 1 power sums of x, `coefficients` degree + 1 values, lowest power
// first. False when the system is singular or the degree is out of range.
constexpr int kMaxFitDegree = 15;
bool FitPolynomial(double* sums, const double* xs, const double* ys, int count, int degree,
                   double* coefficients);

// out = {intercept, slope} of the line through (xs[0], ys[0]) and (xs[1], ys[1]).
void LineThroughPoints(const double* xs, const double* ys, double* out);

// Least-squares straight line; returns count * sum(x^2) - sum(x)^2 (0 when it is degenerate,
// in which case intercept and slope are left untouched).
double FitLine(int count, const double* xs, const double* ys, double* intercept, double* slope);
