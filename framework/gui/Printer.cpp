// The printer object over the spooler's device contexts.
#include "framework/gui/Printer.h"
#include "framework/gui/GuiTexts.h"

#include <vector>

#include <commdlg.h>
#include <winspool.h>

TPrinter* Printer()
{
    static auto* printer = new TPrinter;  // one for the process, never freed
    return printer;
}

TPrinter::~TPrinter()
{
    delete canvas_;
    FreeDC();
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

void TPrinter::FreeDC()
{
    if (canvas_) canvas_->SetHandle(nullptr);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
}

String TPrinter::PrinterName()
{
    if (devNames_) {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames_));
        String name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
        GlobalUnlock(devNames_);
        return name;
    }
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (!size) return "";
    std::vector<char> buffer(size);
    if (!GetDefaultPrinterA(buffer.data(), &size)) return "";
    return buffer.data();
}

HDC TPrinter::Handle()
{
    if (dc_) return dc_;
    if (devNames_) {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames_));
        auto* mode = devMode_ ? static_cast<DEVMODEA*>(GlobalLock(devMode_)) : nullptr;
        const char* base = reinterpret_cast<const char*>(names);
        dc_ = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (mode) GlobalUnlock(devMode_);
        GlobalUnlock(devNames_);
    } else {
        String name = PrinterName();
        if (!name.empty()) dc_ = CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr);
    }
    if (!dc_) throw EPrinter(String(GuiText::NoDefaultPrinter));
    return dc_;
}

TCanvas* TPrinter::Canvas()
{
    if (!canvas_) canvas_ = new TCanvas;
    if (!canvas_->HandleAllocated()) canvas_->SetHandle(Handle());
    return canvas_;
}

void TPrinter::BeginDoc()
{
    if (printing_) throw EPrinter(String(GuiText::PrintingInProgress));
    DOCINFOA di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = Title.c_str();
    if (StartDocA(Handle(), &di) <= 0) throw EPrinter(String(GuiText::NotPrinting));
    printing_ = true;
    aborted_ = false;
    page_ = 1;
    StartPage(dc_);
}

void TPrinter::EndDoc()
{
    if (!printing_) throw EPrinter(String(GuiText::NotPrinting));
    EndPage(dc_);
    if (!aborted_) ::EndDoc(dc_);
    printing_ = false;
    FreeDC();
}

void TPrinter::NewPage()
{
    if (!printing_) throw EPrinter(String(GuiText::NotPrinting));
    EndPage(dc_);
    StartPage(dc_);
    ++page_;
    if (canvas_) canvas_->SetHandle(nullptr);
}

void TPrinter::Abort()
{
    if (!printing_) return;
    AbortDoc(dc_);
    aborted_ = true;
    printing_ = false;
    FreeDC();
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

void TPrinter::GetDeviceHandles(HGLOBAL& DevMode, HGLOBAL& DevNames) const
{
    DevMode = devMode_;
    DevNames = devNames_;
}

void TPrinter::SetDeviceHandles(HGLOBAL DevMode, HGLOBAL DevNames)
{
    if (devMode_ && devMode_ != DevMode) GlobalFree(devMode_);
    if (devNames_ && devNames_ != DevNames) GlobalFree(devNames_);
    devMode_ = DevMode;
    devNames_ = DevNames;
    FreeDC();
}
