// Printing the editor's text page by page with the control's range formatting, on the
// framework's printer or any other print target.
#include "framework/gui/Printer.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"

namespace {

class TPrinterTarget : public TRichPrintTarget {
public:
    explicit TPrinterTarget(TPrinter* printer) : printer_(printer) {}
    HDC Handle() override { return printer_->Handle(); }
    int PageWidth() override { return printer_->PageWidth(); }
    int PageHeight() override { return printer_->PageHeight(); }
    void BeginDoc(const String& Title) override
    {
        printer_->Title = Title;
        printer_->BeginDoc();
    }
    void NewPage() override { printer_->NewPage(); }
    void EndDoc() override { printer_->EndDoc(); }
    void Abort() override { printer_->Abort(); }

private:
    TPrinter* printer_;
};

constexpr int TwipsPerInch = 1440;

}  // namespace

void TQvCustomRichEdit::Print(const String& Caption)
{
    TPrinterTarget printer(Printer());
    PrintTo(printer, Caption);
}

void TQvCustomRichEdit::PrintTo(TRichPrintTarget& Target, const String& Caption)
{
    HWND h = Handle();
    FORMATRANGE range{};
    Target.BeginDoc(Caption);
    HDC dc = Target.Handle();
    const int oldMode = SetMapMode(dc, MM_TEXT);
    try {
        range.hdc = range.hdcTarget = dc;
        const int logX = GetDeviceCaps(dc, LOGPIXELSX), logY = GetDeviceCaps(dc, LOGPIXELSY);
        RECT page;
        if (PrintRect.Width() <= 0 || PrintRect.Height() <= 0)
            page = {0, 0, Target.PageWidth() * TwipsPerInch / logX,
                    Target.PageHeight() * TwipsPerInch / logY};
        else
            page = {PrintRect.Left * TwipsPerInch / logX, PrintRect.Top * TwipsPerInch / logY,
                    PrintRect.Right * TwipsPerInch / logX, PrintRect.Bottom * TwipsPerInch / logY};
        range.rcPage = page;
        int textLength;
        if (RichEditVersion >= 2) {
            GETTEXTLENGTHEX query{GTL_DEFAULT, 0};
            textLength = static_cast<int>(
                SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
        } else {
            textLength = GetTextLen();
        }
        range.chrg.cpMax = -1;
        SendMessageA(h, EM_FORMATRANGE, 0, 0);
        int lastChar = 0;
        do {
            range.rc = page;
            range.hdc = range.hdcTarget = Target.Handle();
            range.chrg.cpMin = lastChar;
            const int next = static_cast<int>(
                SendMessageA(h, EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range)));
            // A page that takes no text (a rectangle smaller than one line) would be printed
            // again and again: the job ends there.
            if (next != -1 && next < textLength && next <= lastChar) break;
            lastChar = next;
            if (lastChar < textLength && lastChar != -1) Target.NewPage();
        } while (lastChar < textLength && lastChar != -1);
        Target.EndDoc();
    } catch (...) {
        SendMessageA(h, EM_FORMATRANGE, 0, 0);
        SetMapMode(dc, oldMode);
        Target.Abort();
        throw;
    }
    SendMessageA(h, EM_FORMATRANGE, 0, 0);
    SetMapMode(dc, oldMode);
}
