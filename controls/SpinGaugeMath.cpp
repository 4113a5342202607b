// The spin edit's value arithmetic and its mappings onto the gauge and the track bar.
#include "controls/SpinGaugeMath.h"

#include <algorithm>
#include <cmath>

double CheckSpinValue(double Value, double MinValue, double MaxValue)
{
    if (MinValue == MaxValue) return Value;
    if (Value < MinValue) return MinValue;
    if (Value > MaxValue) return MaxValue;
    return Value;
}

// The step stops on a set limit only when it would pass it. (Stopping on the limit one step
// early skips the last step, and with no limits set every click would land on 0.)
double SpinUp(double Value, double Increment, double MinValue, double MaxValue)
{
    double next = Value + Increment;
    if (MinValue != MaxValue && next > MaxValue) next = MaxValue;
    return std::isfinite(next) ? next : Value;
}

double SpinDown(double Value, double Increment, double MinValue, double MaxValue)
{
    double next = Value - Increment;
    if (MinValue != MaxValue && next < MinValue) next = MinValue;
    return std::isfinite(next) ? next : Value;
}

namespace {

TValueSpan SpanOf(double From, double To)
{
    const double width = To - From;
    return TValueSpan{From, width > 0 ? width : 100};
}

}  // namespace

TValueSpan GaugeSpan(double GaugeMin, double GaugeMax, double MinValue, double MaxValue)
{
    if (GaugeMin == 0 && GaugeMax == 0) return SpanOf(MinValue, MaxValue);
    return SpanOf(GaugeMin, GaugeMax);
}

TValueSpan TrackSpan(double MinValue, double MaxValue) { return SpanOf(MinValue, MaxValue); }

int TrackPosition(double Value, const TValueSpan& Span, bool Vertical)
{
    const double steps = std::clamp((Value - Span.Start) * TrackSteps / Span.Width, 0.0,
                                    static_cast<double>(TrackSteps));
    const int position = static_cast<int>(steps);
    return Vertical ? TrackSteps - position : position;
}

double TrackValueAt(double Fraction, const TValueSpan& Span, bool Vertical)
{
    Fraction = std::clamp(Fraction, 0.0, 1.0);
    if (Vertical) Fraction = 1 - Fraction;
    return Span.Start + Fraction * Span.Width;
}

// Dragging past the right end stops at the span's end, as dragging past the left end stops
// at its start (the value would otherwise run on beyond what the strip shows).
double GaugeValueAt(int X, int GaugeWidth, const TValueSpan& Span, double Step)
{
    const int travel = std::max(GaugeWidth - 2, 1);
    if (X <= 0) return Span.Start;
    if (X >= travel) return Span.Start + Span.Width;
    return SnapValue(X * Span.Width / travel + Span.Start, Step);
}

int GaugePixelOf(double Value, int GaugeWidth, const TValueSpan& Span)
{
    const int travel = std::max(GaugeWidth - 2, 1);
    const double x =
        std::clamp((Value - Span.Start) * travel / Span.Width, 0.0, static_cast<double>(travel));
    return 1 + static_cast<int>(std::lround(x));
}

double SnapValue(double Value, double Step)
{
    if (!(Step > 0)) return Value;
    return std::round(Value / Step) * Step;
}

bool CentreInside(double Centre, const TValueSpan& Span)
{
    return Centre > Span.Start && Centre < Span.Start + Span.Width;
}

int GaugeShare(double Value, const TValueSpan& Span, bool AroundCentre, double Centre)
{
    double share;
    if (AroundCentre) {
        const double end = Value >= Centre ? Span.Start + Span.Width : Span.Start;
        share = std::fabs(Value - Centre) / std::fabs(end - Centre);
    } else {
        share = (Value - Span.Start) / Span.Width;
    }
    return static_cast<int>(std::clamp(share, 0.0, 1.0) * 256);
}

std::uint32_t BlendColour(std::uint32_t Begin, std::uint32_t End, int Share)
{
    Share = std::clamp(Share, 0, 256);
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int b = static_cast<int>((Begin >> shift) & 0xFF);
        const int e = static_cast<int>((End >> shift) & 0xFF);
        const int channel = b + (e - b) * Share / 256;
        result |= static_cast<std::uint32_t>(channel) << shift;
    }
    return result;
}
