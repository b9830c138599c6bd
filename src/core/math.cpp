#include <vexel/math.h>

#include <cmath>

namespace vexel {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

// Called through a pointer so that the library's own sqrt runs and reports the domain error
// (errno EDOM, FE_INVALID) however the compiler treats std::sqrt.
double (*volatile library_sqrt)(double) = &::sqrt;

}  // namespace

double sin_deg(double degrees) {
    return std::sin(degrees * kRadiansPerDegree);
}
double cos_deg(double degrees) {
    return std::cos(degrees * kRadiansPerDegree);
}
double tan_deg(double degrees) {
    return std::tan(degrees * kRadiansPerDegree);
}
double atan_deg(double y, double x) {
    return std::atan2(y, x) * kDegreesPerRadian;
}

double asin_deg(double x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * kDegreesPerRadian;
}

double acos_deg(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kDegreesPerRadian;
}

double square_root(double x) {
    const double root = std::sqrt(x);
    if (std::isnan(root)) return library_sqrt(x);
    return root;
}

double logarithm(double x) {
    return std::log(x);
}
double power(double base, double exponent) {
    return std::pow(base, exponent);
}

double fmod_safe(double a, double b) {
    if (b == 0) return 0;
    return std::fmod(a, b);
}

int32_t imod(int32_t a, int32_t b) {
    // a % -1 is 0 for every a, and INT32_MIN % -1 would trap.
    if (b == 0 || b == -1) return 0;
    return a % b;
}

}  // namespace vexel
