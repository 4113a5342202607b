// The spin edit's arithmetic, free of windows: the value's limits, the up and down steps, the
// mapping between values and the gauge strip, the pop-up track bar and the mouse, snapping,
// and the bar colour. TBMSpinEdit and TAGauge (controls/BMSpinEdit.h) draw on it.
#pragma once

#include <cstdint>

// MinValue equal to MaxValue means the value is not limited.
double CheckSpinValue(double Value, double MinValue, double MaxValue);

// One step up or down. A step that would pass a set limit stops on it; without limits the
// value just moves by Increment. A result that is no longer finite leaves Value as it was.
double SpinUp(double Value, double Increment, double MinValue, double MaxValue);
double SpinDown(double Value, double Increment, double MinValue, double MaxValue);

// A stretch of values shown along a strip: Start and a Width that is always positive.
struct TValueSpan {
    double Start = 0;
    double Width = 100;
};
// What the gauge strip shows: GaugeMin to GaugeMax, or MinValue to MaxValue when both gauge
// limits are 0. A width that is not positive counts as 100.
TValueSpan GaugeSpan(double GaugeMin, double GaugeMax, double MinValue, double MaxValue);
// What the track bar shows: always MinValue to MaxValue (width rule as above).
TValueSpan TrackSpan(double MinValue, double MaxValue);

// The track bar's range is 0 to TrackSteps; a vertical one counts from its top (the maximum)
// down.
constexpr int TrackSteps = 1000;
int TrackPosition(double Value, const TValueSpan& Span, bool Vertical);
// The value at Fraction (0 to 1, clamped) of the track bar's travel, counted from its left or
// top edge.
double TrackValueAt(double Fraction, const TValueSpan& Span, bool Vertical);

// The value at pixel X of a gauge strip GaugeWidth pixels wide: the span's start at or left
// of 0, its end at or right of GaugeWidth - 2, and in between snapped to Step (SnapValue).
double GaugeValueAt(int X, int GaugeWidth, const TValueSpan& Span, double Step);
// The pixel column of Value on the strip (1 to GaugeWidth - 1), the inverse of GaugeValueAt.
int GaugePixelOf(double Value, int GaugeWidth, const TValueSpan& Span);

// Value moved to the nearest multiple of Step (halves away from zero); Step <= 0: unchanged.
double SnapValue(double Value, double Step);

// How far the bar has grown, 0 to 256: the value's share of the span or, around a centre,
// of the distance from the centre to the span's end on the value's side.
int GaugeShare(double Value, const TValueSpan& Span, bool AroundCentre, double Centre);
// Whether Centre lies strictly inside the span (the bar then grows from it).
bool CentreInside(double Centre, const TValueSpan& Span);

// The colour Share/256 of the way from Begin to End, per channel (0x00BBGGRR values).
std::uint32_t BlendColour(std::uint32_t Begin, std::uint32_t End, int Share);
