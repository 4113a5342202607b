// The chunked CR/LF normaliser behind every load into the rich edit.
#include "richedit/LineBreaks.h"

namespace {
constexpr unsigned Cr = 13, Lf = 10;
}

void TLineBreakNormaliser::Emit(unsigned unit, std::string& out) const
{
    out.push_back(static_cast<char>(unit & 0xFF));
    if (wide_) out.push_back(static_cast<char>(unit >> 8));
}

void TLineBreakNormaliser::Feed(const char* data, std::size_t count, std::string& out)
{
    const std::size_t unitSize = wide_ ? 2 : 1;
    std::size_t i = 0;
    auto next = [&](unsigned& unit) {
        if (!wide_) {
            if (i >= count) return false;
            unit = static_cast<unsigned char>(data[i++]);
            return true;
        }
        unsigned char lo, hi;
        if (havePendingByte_) {
            if (i >= count) return false;
            lo = static_cast<unsigned char>(pendingByte_);
            hi = static_cast<unsigned char>(data[i++]);
            havePendingByte_ = false;
        } else {
            if (count - i < unitSize) {
                // Half a unit: it waits for its other byte.
                if (i < count) {
                    pendingByte_ = data[i++];
                    havePendingByte_ = true;
                }
                return false;
            }
            lo = static_cast<unsigned char>(data[i]);
            hi = static_cast<unsigned char>(data[i + 1]);
            i += 2;
        }
        unit = lo | (unsigned(hi) << 8);
        return true;
    };
    unsigned unit;
    while (next(unit)) {
        if (pendingCr_) {
            pendingCr_ = false;
            Emit(Cr, out);
            Emit(Lf, out);
            if (unit == Lf) continue;
        }
        if (unit == Cr) {
            pendingCr_ = true;
        } else if (unit == Lf) {
            Emit(Cr, out);
            Emit(Lf, out);
        } else {
            Emit(unit, out);
        }
    }
}

void TLineBreakNormaliser::Finish(std::string& out)
{
    if (pendingCr_) {
        Emit(Cr, out);
        Emit(Lf, out);
        pendingCr_ = false;
    }
    // An odd last byte of wide text is not a character; it is dropped.
    havePendingByte_ = false;
}

std::size_t TLineBreakNormaliser::InputLimit(std::size_t capacity, bool wide)
{
    const std::size_t unitSize = wide ? 2 : 1;
    const std::size_t units = capacity / unitSize;
    if (units < 4) return 0;
    return (units - 2) / 2 * unitSize;
}
