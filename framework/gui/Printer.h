// The printer object: the chosen (or default) printer's device context as a canvas, with a
// document and its pages. The print dialogs choose the printer it uses.
#pragma once

#include <windows.h>

#include "framework/Exceptions.h"
#include "framework/gui/Canvas.h"

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter : public TObject {
public:
    ~TPrinter() override;

    // The printer's device context (made on first use); EPrinter when there is no printer.
    HDC Handle();
    TCanvas* Canvas();
    String PrinterName();

    void BeginDoc();
    void EndDoc();
    void NewPage();
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return page_; }
    int PageWidth();  // printable area, device pixels
    int PageHeight();
    String Title;

    // The print dialogs hand the chosen printer over as the platform's device handles.
    void GetDeviceHandles(HGLOBAL& DevMode, HGLOBAL& DevNames) const;
    void SetDeviceHandles(HGLOBAL DevMode, HGLOBAL DevNames);

private:
    void FreeDC();
    HDC dc_ = nullptr;
    HGLOBAL devMode_ = nullptr, devNames_ = nullptr;
    TCanvas* canvas_ = nullptr;
    bool printing_ = false, aborted_ = false;
    int page_ = 0;
};

TPrinter* Printer();
