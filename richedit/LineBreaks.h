// Line-break normalising for text streamed into the rich edit: CR LF stays, a lone CR or a
// lone LF becomes CR LF. The text arrives in chunks, so a CR at the end of one chunk waits
// for the first unit of the next (it may be the CR of a CR LF pair).
#pragma once

#include <cstddef>
#include <string>

class TLineBreakNormaliser {
public:
    // WideUnits: the text is UTF-16 (little-endian) and is read per 16-bit unit.
    explicit TLineBreakNormaliser(bool WideUnits = false) : wide_(WideUnits) {}

    // Appends Data's normalised form to Out; a final CR (and, for wide text, an odd final
    // byte) is held back for the next call.
    void Feed(const char* Data, std::size_t Count, std::string& Out);
    // The input has ended: what was held back goes out (a held CR as CR LF).
    void Finish(std::string& Out);
    bool HasPending() const { return pendingCr_ || havePendingByte_; }

    // How many input bytes may be fed so that the output (held units included) fits in
    // OutputCapacity bytes: every unit can double, and a held CR adds one pair.
    static std::size_t InputLimit(std::size_t OutputCapacity, bool WideUnits);

private:
    void Emit(unsigned Unit, std::string& Out) const;
    bool wide_;
    bool pendingCr_ = false;
    bool havePendingByte_ = false;
    char pendingByte_ = 0;
};
