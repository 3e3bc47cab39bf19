#pragma once

// In-place radix-2/8 FFTs of power-of-two length N = 2^m on 32-bit floats.
//
// Complex blocks are N interleaved (re, im) pairs in natural order. Real blocks are N samples;
// their spectrum is written in place packed as [X0, X(N/2), Re X1, Im X1, ..., Re X(N/2-1),
// Im X(N/2-1)]. Forward transforms are unscaled with e^(-2 pi i kn/N); inverses use
// e^(+2 pi i kn/N) and scale by 1/N, so forward then inverse gives the input back.
//
// Every twiddle comes from a caller-owned quarter-wave cosine table of N/4 + 1 floats
// (entry i = cos(2 pi i / N)) that the matching set-up fills; transforms neither allocate nor
// call trigonometric functions. A transform whose m is outside its set-up's range, whose
// pointers are null or whose count is 0 or less does nothing.

constexpr int kFftComplexMinLog2 = 3;
constexpr int kFftComplexMaxLog2 = 19;
constexpr int kFftRealMinLog2 = 4;
constexpr int kFftRealMaxLog2 = 20;

// Writes m := round(log2 n) (0 when n <= 0). Answers 0 and fills the table when n == 2^m with
// m in [3, 19]; answers 1 and leaves the table untouched otherwise.
int fftSetupComplex(int& m, int n, float* cosineTable);
// The same for the real pair, with m in [4, 20].
int fftSetupReal(int& m, int n, float* cosineTable);

void fftComplexForward(float* data, int m, int count, const float* cosineTable);
void fftComplexInverse(float* data, int m, int count, const float* cosineTable);
void fftRealForward(float* data, int m, int count, const float* cosineTable);
void fftRealInverse(float* data, int m, int count, const float* cosineTable);

// base^exponent by repeated squaring; a negative exponent gives the reciprocal.
float integerPower(float base, int exponent);
float integerPower(int base, int exponent);
