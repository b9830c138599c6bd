// Vexel — math commands. Angles are in degrees; no command fails or throws.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Trigonometry in degrees
//------------------------------------------------------------------------------------------------

double sin_deg(double degrees);       // sine of an angle in degrees
double cos_deg(double degrees);       // cosine of an angle in degrees
double tan_deg(double degrees);       // tangent of an angle in degrees
double atan_deg(double y, double x);  // angle of (x, y) in degrees, -180 to 180 (atan2)
double asin_deg(double x);            // arc sine in degrees; 90 for x >= 1, -90 for x <= -1
double acos_deg(double x);            // arc cosine in degrees; 0 for x >= 1, 180 for x <= -1

//------------------------------------------------------------------------------------------------
// Other math
//------------------------------------------------------------------------------------------------

double square_root(double x);                // NaN for x < 0, raising the C library's domain error
double logarithm(double x);                  // natural logarithm
double power(double base, double exponent);  // base raised to exponent (C pow)
double fmod_safe(double a, double b);        // a modulo b with the sign of a; 0 when b is 0
int32_t imod(int32_t a, int32_t b);          // a % b truncating toward zero; 0 when b is 0 or -1

//------------------------------------------------------------------------------------------------
// Random numbers (ISAAC)
//------------------------------------------------------------------------------------------------

int32_t random(int32_t n);       // 0 to n inclusive; 0 when n <= 0
void seed_random(int32_t seed);  // restarts the generator; the same seed gives the same sequence

}  // namespace vexel
