// Conversions between a file's bytes and the rich edit's stream callbacks (TConversion reads
// and writes the stream as it is), and the registry that picks one by file extension.
#pragma once

#include <memory>

#include "framework/Object.h"

class TStream;

class TConversion : public TObject {
public:
    // Bytes moved, as the stream's Read and Write return them.
    virtual int ConvertReadStream(TStream* Stream, char* Buffer, int BufSize);
    virtual int ConvertWriteStream(TStream* Stream, const char* Buffer, int BufSize);
};

// A conversion class: makes a new instance of one TConversion descendant.
using TConversionClass = std::unique_ptr<TConversion> (*)();

template <class T>
std::unique_ptr<TConversion> NewConversion()
{
    return std::make_unique<T>();
}

struct TRichConversionFormat {
    TConversionClass ConversionClass;
    String Extension;  // lower case, without the dot
    bool PlainText;
    const TRichConversionFormat* Next;
};

// The head of the registry: the latest registration first, then "txt" (plain) and "rtf".
const TRichConversionFormat* ConversionFormats();
// A later registration of an extension hides an earlier one; records are never removed.
void RegisterConversionFormat(std::string_view Extension, bool PlainText,
                              TConversionClass ConversionClass);
// The first record for Extension (compared in lower case, without its dot), or nullptr.
const TRichConversionFormat* FindConversionFormat(std::string_view Extension);
// A file name's extension as the registry compares it: lower case, without the dot.
String ConversionExtensionOf(std::string_view FileName);
