// The clipboard: text in and out, and raw handles of any format (the rich edit's formats).
#pragma once

#include <windows.h>

#include "framework/Object.h"
#include "framework/Strings.h"

class TClipboard : public TObject {
public:
    // Nested Open/Close pairs keep the clipboard open across several operations.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT Format);
    String AsText();
    void SetAsText(const String& Text);
    HANDLE GetAsHandle(UINT Format);
    // The clipboard takes ownership of Data.
    void SetAsHandle(UINT Format, HANDLE Data);

private:
    int openCount_ = 0;
    bool emptied_ = false;
};

TClipboard* Clipboard();
