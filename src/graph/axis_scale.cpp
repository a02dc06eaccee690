#include "graph/axis_scale.h"

#include <cmath>

namespace graph {

namespace {

// The two smallest steps were single-precision constants; the ticks they give keep that.
constexpr double kSmallestStep = static_cast<double>(0.1f);
constexpr double kSecondStep = static_cast<double>(0.2f);

// A span narrower than this is widened one decade at a time before its step is chosen.
constexpr double kNarrowSpan = 0.2;
constexpr double kWideStart = 100;
// Rounding can keep the decade loop from ever widening a span of huge magnitude, or the tick
// walk from moving; neither may hang a repaint.
constexpr int kMaxDecadeSteps = 40;
constexpr int kMaxTicks = 10000;
constexpr int kMaxStepDecades = 400;

bool Between(double t, double a, double b) {
    return a <= b ? (t >= a && t <= b) : (t >= b && t <= a);
}

}  // namespace

void CAxisScale::Init(double p0, double p1, double vs, double ve) {
    m_p0 = p0;
    m_p1 = p1;
    m_vs = vs;
    m_ve = ve;
    m_k = p1 == p0 ? 0 : (ve - vs) / (p1 - p0);
    m_perValue = m_k == 0 ? 0 : 1 / m_k;
    // A range too narrow for its pixels to be told apart (a denormal width) is drawn as an
    // empty one: every value at the first pixel, never at an infinite or undefined one.
    if (!std::isfinite(m_k) || !std::isfinite(m_perValue)) {
        m_k = 0;
        m_perValue = 0;
    }
}

double CAxisScale::PixelToValue(double p) const {
    return m_ve == m_vs ? m_vs : (p - m_p0) * m_k + m_vs;
}

int DecimalExponent(double m) {
    if (m == 0 || !std::isfinite(m))
        return 0;
    const double exponent = std::log10(std::fabs(m));
    if (std::fabs(m) >= 1)
        return static_cast<int>(std::trunc(exponent));
    return -static_cast<int>(std::trunc(std::fabs(exponent) + 1));
}

double TickStep(int wanted, double a, double b) {
    if (wanted == 0)
        return kSmallestStep;
    const double t = std::fabs(a - b) / wanted;
    if (!(t > kSmallestStep))
        return kSmallestStep;
    if (kSecondStep >= t)
        return kSecondStep;
    if (0.5 >= t)
        return 0.5;
    double decade = 1;
    for (int i = 0; i < kMaxStepDecades; ++i, decade *= 10)
        for (double mantissa : {1.0, 2.0, 5.0})
            if (mantissa * decade >= t)
                return mantissa * decade;
    return decade;
}

AxisTicks ComputeTicks(const CAxisScale& scale, int wanted) {
    AxisTicks ticks;
    const double vs = scale.ValueStart();
    const double ve = scale.ValueEnd();
    if (!std::isfinite(vs) || !std::isfinite(ve) || wanted < 0)
        return ticks;
    int d = DecimalExponent(std::fabs(ve) > std::fabs(vs) ? ve : vs);

    if (vs == ve) {
        ticks.decimals = d;
        ticks.values.assign(wanted, vs);
        ticks.positions.assign(wanted, scale.PixelStart());
        return ticks;
    }

    double a0 = std::pow(10.0, -d) * vs;
    double a1 = std::pow(10.0, -d) * ve;
    for (int i = 0; std::fabs(a0 - a1) < kNarrowSpan && a0 < kWideStart && a1 < kWideStart; ++i) {
        if (i == kMaxDecadeSteps)
            return ticks;
        --d;
        a0 = std::pow(10.0, -d) * vs;
        a1 = std::pow(10.0, -d) * ve;
    }
    ticks.decimals = d;
    if (!std::isfinite(a0) || !std::isfinite(a1))
        return ticks;

    const double s = TickStep(wanted, a0, a1);
    ticks.step = s;
    if (s > std::fabs(a1 - a0))
        return ticks;

    // The candidate nearest to the start among those around it that lie within the span.
    const double i0 = std::trunc(a0 / s);
    bool found = false;
    double t = 0;
    for (int j = 0; j < 5; ++j) {
        const double candidate = (i0 + j - 2) * s;
        if (Between(candidate, a0, a1) &&
            (!found || std::fabs(candidate - a0) < std::fabs(t - a0))) {
            t = candidate;
            found = true;
        }
    }
    if (!found)
        return ticks;

    const double unit = std::pow(10.0, d);
    const double direction = ve > vs ? s : -s;
    while (Between(t, a0, a1) && ticks.Count() < kMaxTicks) {
        const double value = t * unit;
        ticks.values.push_back(value);
        ticks.positions.push_back(scale.ValueToPixel(value));
        const double next = t + direction;
        if (next == t)
            break;
        t = next;
    }
    return ticks;
}

}  // namespace graph
