// The character and paragraph formatting views of the editor control: they hold nothing of
// their own; every read asks the control's window and every write sends a record with only
// the written attribute's mask set.
#pragma once

#include "framework/FontStyles.h"
#include "framework/Sets.h"
#include "framework/gui/Canvas.h"
#include "richedit/FormatRecords.h"

class TQvCustomRichEdit;

// "The control's own default": automatic text colour, or the window colour behind text.
constexpr TColor clDefault = 0x20000000;

enum TQvAttributeType { atDefaultText, atSelected, atWord };
enum TQvConsistentAttribute {
    caBold,
    caColor,
    caFace,
    caItalic,
    caSize,
    caStrikeOut,
    caUnderline,
    caProtected,
    caOffset,
    caHidden,
    caLink,
    caBackColor,
    caDisabled,
    caWeight,
    caSubscript,
    caRevAuthor
};
using TQvConsistentAttributes = TSet<TQvConsistentAttribute>;
// Scoped: the scroll-bar style of the edit controls already has an ssNone.
enum class TSubscriptStyle { ssNone, ssSubscript, ssSuperscript };
enum TUnderlineType { utNone, utSolid, utWord, utDouble, utDotted, utWave };
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TQvTextAttributes : public TPersistent {
public:
    TQvTextAttributes(TQvCustomRichEdit* RichEdit, TQvAttributeType AttributeType);
    void Assign(TPersistent* Source) override;

    // A cleared record, filled from the window when it exists.
    void GetAttributes(TCharFormatRecord& Format);
    void SetAttributes(TCharFormatRecord& Format);
    TQvAttributeType AttributeType() const { return type_; }

    TQvConsistentAttributes ConsistentAttributes();
    BYTE Charset();
    void SetCharset(BYTE v);
    bool Protected();
    void SetProtected(bool v);
    bool Link();
    void SetLink(bool v);
    BYTE RevAuthorIndex();
    void SetRevAuthorIndex(BYTE v);
    bool Hidden();
    void SetHidden(bool v);
    bool Disabled();
    void SetDisabled(bool v);
    TColor Color();
    void SetColor(TColor v);
    TColor BackColor();
    void SetBackColor(TColor v);
    String Name();
    void SetName(const String& v);
    TFontStyles Style();
    void SetStyle(TFontStyles v);
    TUnderlineType UnderlineType();
    void SetUnderlineType(TUnderlineType v);
    int Offset();
    void SetOffset(int v);
    int Size();
    void SetSize(int v);
    int Height();
    void SetHeight(int v);
    TFontPitch Pitch();
    // The pitch travels with the face name: the current face is sent again with the pitch.
    void SetPitch(TFontPitch v);
    TSubscriptStyle SubscriptStyle();
    void SetSubscriptStyle(TSubscriptStyle v);

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void AssignFont(TFont* Font);
    int Version() const;
    TQvCustomRichEdit* richEdit_;
    TQvAttributeType type_;
};

enum TQvNumbering {
    nsNone,
    nsBullet,
    nsArabicNumbers,
    nsLoCaseLetter,
    nsUpCaseLetter,
    nsLoCaseRoman,
    nsUpCaseRoman
};
enum TQvNumberingStyle { nsParenthesis, nsPeriod, nsEnclosed, nsSimple };
enum TParaAlignment { paLeftJustify, paRightJustify, paCenter, paJustify };
enum TLineSpacingRule {
    lsSingle,
    lsOneAndHalf,
    lsDouble,
    lsSpecifiedOrMore,
    lsSpecified,
    lsMultiple
};
using THeadingStyle = int;  // 0..9
enum TParaTableStyle { tsNone, tsTableRow, tsTableCellEnd, tsTableCell };

class TQvParaAttributes : public TPersistent {
public:
    explicit TQvParaAttributes(TQvCustomRichEdit* RichEdit) : richEdit_(RichEdit) {}
    void Assign(TPersistent* Source) override;

    void GetAttributes(TParaFormatRecord& Paragraph);
    void SetAttributes(TParaFormatRecord& Paragraph);

    TParaAlignment Alignment();
    void SetAlignment(TParaAlignment v);
    TQvNumbering Numbering();
    void SetNumbering(TQvNumbering v);
    TQvNumberingStyle NumberingStyle();
    void SetNumberingStyle(TQvNumberingStyle v);
    int NumberingTab();
    void SetNumberingTab(int v);
    int FirstIndent();
    void SetFirstIndent(int v);
    int LeftIndent();
    void SetLeftIndent(int v);
    int RightIndent();
    void SetRightIndent(int v);
    int SpaceBefore();
    void SetSpaceBefore(int v);
    int SpaceAfter();
    void SetSpaceAfter(int v);
    int LineSpacing();
    void SetLineSpacing(int v);
    TLineSpacingRule LineSpacingRule();
    void SetLineSpacingRule(TLineSpacingRule v);
    THeadingStyle HeadingStyle();
    void SetHeadingStyle(THeadingStyle v);
    // Index 0..31; outside that EListError.
    int Tab(int Index);
    void SetTab(int Index, int v);
    int TabCount();
    void SetTabCount(int v);
    TParaTableStyle TableStyle();
    void SetTableStyle(TParaTableStyle v);

private:
    int Version() const;
    TQvCustomRichEdit* richEdit_;
};
