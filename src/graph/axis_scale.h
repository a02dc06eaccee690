#pragma once
// The mapping between values and pixels along one axis, and the ticks of the 1-2-5 series at
// which the grid and the rulers mark it. An axis whose two pixel ends or two value ends
// coincide is valid: it maps everything onto its start.

#include <cmath>
#include <vector>

namespace graph {

class CAxisScale {
public:
    // From pixel p0 (value vs) to pixel p1 (value ve); either may run backwards.
    void Init(double p0, double p1, double vs, double ve);

    // Inline: it runs for every point a curve draws.
    double ValueToPixel(double v) const {
        if (m_k == 0)
            return m_p0;
        // The arithmetic may land a hair below a whole pixel (the range's end short of the
        // last column); such a pixel is taken as the whole one. The nearest whole pixel comes
        // from an integer conversion, not a call; beyond 1e15 every double is whole already.
        const double pixel = (v - m_vs) * m_perValue + m_p0;
        const double whole =
            std::fabs(pixel) < kExactlyWhole
                ? static_cast<double>(static_cast<long long>(pixel + std::copysign(0.5, pixel)))
                : pixel;
        return std::fabs(pixel - whole) < kPixelTolerance ? whole : pixel;
    }
    double PixelToValue(double p) const;

    double PixelStart() const { return m_p0; }
    double PixelEnd() const { return m_p1; }
    double ValueStart() const { return m_vs; }
    double ValueEnd() const { return m_ve; }
    // Value per pixel; 0 when either pair of ends coincides.
    double ValuePerPixel() const { return m_k; }

private:
    static constexpr double kPixelTolerance = 1e-6;
    static constexpr double kExactlyWhole = 1e15;

    double m_p0 = 0;
    double m_p1 = 0;
    double m_vs = 0;
    double m_ve = 0;
    double m_k = 0;
    double m_perValue = 0;  // pixels per value: 1 / m_k, multiplied rather than divided by
};

struct AxisTicks {
    int decimals = 0;  // the decimal exponent the ticks were chosen at
    double step = 0;   // in units of 10^decimals
    std::vector<double> positions;
    std::vector<double> values;

    int Count() const { return static_cast<int>(values.size()); }
};

// The decimal exponent of a value: trunc(log10 |m|) from 1 up, -trunc(|log10 |m|| + 1) below.
int DecimalExponent(double m);

// The step of the 1-2-5 series (from 0.1 up) that divides the span from a to b into at most
// about `wanted` parts.
double TickStep(int wanted, double a, double b);

// Ticks over the scale's value span, at most about `wanted` of them. A span too small or too
// odd for any tick gives none; an empty span gives `wanted` ticks at its start.
AxisTicks ComputeTicks(const CAxisScale& scale, int wanted);

}  // namespace graph
