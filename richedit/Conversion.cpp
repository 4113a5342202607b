// The plain conversion and the extension registry (two fixed records, then registrations
// pushed at the head).
#include "richedit/Conversion.h"

#include <deque>

#include "framework/FileNames.h"
#include "framework/Streams.h"

int TConversion::ConvertReadStream(TStream* Stream, char* Buffer, int BufSize)
{
    return Stream->Read(Buffer, BufSize);
}

int TConversion::ConvertWriteStream(TStream* Stream, const char* Buffer, int BufSize)
{
    return Stream->Write(Buffer, BufSize);
}

namespace {

struct Registry {
    TRichConversionFormat rtf{&NewConversion<TConversion>, "rtf", false, nullptr};
    TRichConversionFormat txt{&NewConversion<TConversion>, "txt", true, &rtf};
    // Owns the registered records; a deque never moves them, so Next pointers stay valid.
    std::deque<TRichConversionFormat> added;
    const TRichConversionFormat* head = &txt;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

const TRichConversionFormat* ConversionFormats() { return TheRegistry().head; }

void RegisterConversionFormat(std::string_view Extension, bool PlainText,
                              TConversionClass ConversionClass)
{
    Registry& r = TheRegistry();
    r.added.push_back({ConversionClass, LowerCase(Extension), PlainText, r.head});
    r.head = &r.added.back();
}

const TRichConversionFormat* FindConversionFormat(std::string_view Extension)
{
    if (!Extension.empty() && Extension.front() == '.') Extension.remove_prefix(1);
    const String wanted = LowerCase(Extension);
    for (auto* f = ConversionFormats(); f; f = f->Next)
        if (f->Extension == wanted) return f;
    return nullptr;
}

String ConversionExtensionOf(std::string_view FileName)
{
    String ext = ExtractFileExt(FileName);
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    return LowerCase(ext);
}
