// TRichEditStrings, the Lines of the editor control: the window's lines, and loads and saves
// that stream the whole text (or the selection) as rich or plain text through a conversion.
#pragma once

#include <memory>

#include "framework/Sets.h"
#include "framework/StringList.h"
#include "richedit/Conversion.h"

class TQvCustomRichEdit;

enum TRichStreamFormat { sfDefault, sfRichText, sfPlainText };
enum TRichStreamMode { smSelection, smPlainRtf, smNoObjects, smUnicode };
using TRichStreamModes = TSet<TRichStreamMode>;

class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TQvCustomRichEdit* RichEdit) : richEdit_(RichEdit) {}
    ~TRichEditStrings() override;

    int Count() const override;
    // At most 4,096 characters of a line are returned.
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(std::string_view Value) override;
    // Without OnSelectionChange: the handler hears nothing of the lines going in one by one.
    void AddStrings(const TStrings* Source) override;

    // A failed load tries the other format once (keeping a selection load a selection load)
    // and then raises EOutOfResources "Failed to Load Stream"; a failed save raises
    // "Failed to Save Stream".
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // The conversion is chosen by the file's extension; a save replaces the file only when
    // the whole text was written.
    void LoadFromFile(const String& FileName) override;
    void SaveToFile(const String& FileName) override;

    TRichStreamFormat Format = sfDefault;
    TRichStreamModes Mode;
    TConversion* Converter() const { return converter_.get(); }

    // The event mask's change notification, off while the text is replaced wholesale.
    void EnableChange(bool Value);

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool PlainStream() const;
    template <class Op>
    void WithFileConversion(const String& FileName, Op op);
    TQvCustomRichEdit* richEdit_;
    std::unique_ptr<TConversion> converter_;
};

// Text in the OEM code page: read and written through the ANSI/OEM translations.
class TOEMConversion : public TConversion {
public:
    int ConvertReadStream(TStream* Stream, char* Buffer, int BufSize) override;
    int ConvertWriteStream(TStream* Stream, const char* Buffer, int BufSize) override;
};
