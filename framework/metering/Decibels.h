#pragma once

// Amplitude/decibel conversions and smoothing coefficients shared by the
// analysis services, meters and controls.

// 10^(x / 20), in double.
double DbToLinear(double db);

// -1000 when a < floor, else 20 * log10(a).
double LinearToDbFloor(double a, double floor);

// Polynomial forms for per-window use: no maths-library calls.
float FastLinearToDb(float x);
float FastDbToLinear(float db);

// Coefficient k of a one-pole smoother y += k * (x - y) with time constant `seconds` updated
// `ratePerSecond` times a second; 1 for a time of 0.
double SmoothingCoefficient(double seconds, double ratePerSecond);
