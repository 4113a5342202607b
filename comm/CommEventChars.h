// TCommEventChars: the five device-control-block characters of one port (XON, XOFF, error,
// end-of-file and event character).
#pragma once

#include "framework/Object.h"

class TThreadComm;

class TCommEventChars : public TPersistent {
public:
    // Owner is the port whose DCB the characters feed; it may be nullptr.
    explicit TCommEventChars(TThreadComm* Owner);

    // Copies the five characters from another TCommEventChars; the DCB is not rewritten.
    void Assign(TPersistent* Source) override;

    // Index 1 to 5: XOnChar, XOffChar, ErrorChar, EofChar, EvtChar. Stores the character and
    // rewrites the owner's DCB (without the port's lock; nothing happens on a closed port).
    void SetEventChar(int Index, char Value);

    char XOnChar() const { return chars_[0]; }
    char XOffChar() const { return chars_[1]; }
    char ErrorChar() const { return chars_[2]; }
    char EofChar() const { return chars_[3]; }
    char EvtChar() const { return chars_[4]; }
    void SetXOnChar(char Value) { SetEventChar(1, Value); }
    void SetXOffChar(char Value) { SetEventChar(2, Value); }
    void SetErrorChar(char Value) { SetEventChar(3, Value); }
    void SetEofChar(char Value) { SetEventChar(4, Value); }
    void SetEvtChar(char Value) { SetEventChar(5, Value); }

private:
    TThreadComm* owner_;
    char chars_[5] = {17, 19, 0, 0, 0};
};
