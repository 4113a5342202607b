// The settings file: six sections of KEY=value lines, read into and written from Settings.
#include "settings/Properties.h"

#include <exception>
#include <vector>

#include "framework/IniDocument.h"
#include "framework/IniFile.h"

namespace {

// Sections and keys of the settings file.
constexpr const char* SerialSection = "Serial Port Section";
constexpr const char* DisplaySection = "Display Section";
constexpr const char* ErrorSection = "Error Section";
constexpr const char* GeneralSection = "General Section";
constexpr const char* StringEntrySection = "String Entry Section";
constexpr const char* FontSection = "Font Section";

// Text values are read back up to this many characters (the string entry pane holds 300).
constexpr std::size_t MaxTextLength = 2047;

constexpr std::int32_t FontStyleBold = 1, FontStyleItalic = 2;

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

String ReadText(const TIniFile& ini, const char* section, const char* key, const String& def)
{
    return ini.ReadString(section, key, def).substr(0, MaxTextLength);
}

void ReadInto(const TIniFile& ini, TSettings& s)
{
    const TSettings d = DefaultSettings();

    s.Port = ReadText(ini, SerialSection, "PORT", d.Port);
    s.Baud = ReadText(ini, SerialSection, "BAUD", d.Baud);
    s.DataBits = ReadText(ini, SerialSection, "DATA_BITS", d.DataBits);
    s.Parity = ReadText(ini, SerialSection, "PARITY", d.Parity);
    s.StopBits = ReadText(ini, SerialSection, "STOP_BITS", d.StopBits);

    s.DisplayMode = ini.ReadInteger(DisplaySection, "DISPLAY_MODE", d.DisplayMode);
    s.Lines = Clamp(ini.ReadInteger(DisplaySection, "LINES", d.Lines), MinLines, MaxLines);
    s.Columns =
        Clamp(ini.ReadInteger(DisplaySection, "COLUMNS", d.Columns), MinColumns, MaxColumns);
    s.SpacesForTab = ini.ReadInteger(DisplaySection, "SPACES_FOR_TAB", d.SpacesForTab);
    s.ShowInputOnly = ini.ReadBool(DisplaySection, "SHOW_INPUT_ONLY", d.ShowInputOnly);
    s.NewLineOnCR = ini.ReadBool(DisplaySection, "NEW_LINE_ON_CR", d.NewLineOnCR);
    s.NewLineOnLF = ini.ReadBool(DisplaySection, "NEW_LINE_ON_LF", d.NewLineOnLF);
    s.AutoAdjustCols = ini.ReadBool(DisplaySection, "AUTO_ADJUST_COLS", d.AutoAdjustCols);

    s.CheckParity = ini.ReadBool(ErrorSection, "CHECK_PARITY", d.CheckParity);
    s.ParityReplaceCh =
        static_cast<char>(ini.ReadInteger(ErrorSection, "PARITY_REPLACE_CH",
                                          static_cast<unsigned char>(d.ParityReplaceCh)) &
                          0xFF);

    s.AutoConnectOnKeypress =
        ini.ReadBool(GeneralSection, "AUTO_CONNECT_ON_KEYPRESS", d.AutoConnectOnKeypress);
    s.AutoConnectOnStart =
        ini.ReadBool(GeneralSection, "AUTO_CONNECT_ON_START", d.AutoConnectOnStart);
    s.StringEntryPaneVisible =
        ini.ReadBool(GeneralSection, "STRING_ENTRY_PANE_VISIBLE", d.StringEntryPaneVisible);

    s.StringEntryPane = ReadText(ini, StringEntrySection, "STRING_ENTRY_PANE", d.StringEntryPane);

    s.FontName = ReadText(ini, FontSection, "FONT_NAME", d.FontName);
    s.FontSize =
        Clamp(ini.ReadInteger(FontSection, "FONT_SIZE", d.FontSize), MinFontSize, MaxFontSize);
    s.FontCharset = static_cast<std::uint8_t>(
        ini.ReadInteger(FontSection, "FONT_CHARSET", d.FontCharset) & 0xFF);
    std::int32_t style = ini.ReadInteger(FontSection, "FONT_STYLE", 0);
    s.FontStyle = TFontStyles{};
    if (style & FontStyleBold) s.FontStyle << fsBold;
    if (style & FontStyleItalic) s.FontStyle << fsItalic;
}

// Each write may be the one that finds the file cannot be written; the clamps done before
// it stay in Settings.
void WriteFrom(TCustomIniFile& ini, TSettings& s)
{
    ini.WriteString(SerialSection, "PORT", s.Port);
    ini.WriteString(SerialSection, "BAUD", s.Baud);
    ini.WriteString(SerialSection, "DATA_BITS", s.DataBits);
    ini.WriteString(SerialSection, "PARITY", s.Parity);
    ini.WriteString(SerialSection, "STOP_BITS", s.StopBits);

    s.Columns = Clamp(s.Columns, MinColumns, MaxColumns);
    s.Lines = Clamp(s.Lines, MinLines, MaxLines);
    ini.WriteInteger(DisplaySection, "LINES", s.Lines);
    ini.WriteInteger(DisplaySection, "COLUMNS", s.Columns);
    ini.WriteInteger(DisplaySection, "SPACES_FOR_TAB", s.SpacesForTab);
    ini.WriteInteger(DisplaySection, "DISPLAY_MODE", s.DisplayMode);
    ini.WriteBool(DisplaySection, "SHOW_INPUT_ONLY", s.ShowInputOnly);
    ini.WriteBool(DisplaySection, "NEW_LINE_ON_CR", s.NewLineOnCR);
    ini.WriteBool(DisplaySection, "NEW_LINE_ON_LF", s.NewLineOnLF);
    ini.WriteBool(DisplaySection, "AUTO_ADJUST_COLS", s.AutoAdjustCols);

    // PARITY_REPLACE_CH is read but never written: a line already in the file stays as it is.
    ini.WriteBool(ErrorSection, "CHECK_PARITY", s.CheckParity);

    ini.WriteBool(GeneralSection, "AUTO_CONNECT_ON_KEYPRESS", s.AutoConnectOnKeypress);
    ini.WriteBool(GeneralSection, "AUTO_CONNECT_ON_START", s.AutoConnectOnStart);
    ini.WriteBool(GeneralSection, "STRING_ENTRY_PANE_VISIBLE", s.StringEntryPaneVisible);

    ini.WriteString(StringEntrySection, "STRING_ENTRY_PANE", s.StringEntryPane);

    ini.WriteString(FontSection, "FONT_NAME", s.FontName);
    s.FontSize = Clamp(s.FontSize, MinFontSize, MaxFontSize);
    ini.WriteInteger(FontSection, "FONT_SIZE", s.FontSize);
    ini.WriteInteger(FontSection, "FONT_CHARSET", s.FontCharset);
    ini.WriteInteger(FontSection, "FONT_STYLE",
                     (s.FontStyle.Contains(fsBold) ? FontStyleBold : 0) +
                         (s.FontStyle.Contains(fsItalic) ? FontStyleItalic : 0));
}

// A settings file that exists only in memory: the text of a profile written from scratch.
class TMemoryIniFile : public TCustomIniFile {
public:
    TMemoryIniFile() : TCustomIniFile("") {}
    String Text() const { return document_.Text(); }

    String ReadString(const String& Section, const String& Ident,
                      const String& Default) const override
    {
        return document_.Value(Section, Ident).value_or(Default);
    }
    bool SectionExists(const String& Section) const override
    {
        return document_.SectionExists(Section);
    }
    bool ValueExists(const String& Section, const String& Ident) const override
    {
        return document_.Value(Section, Ident).has_value();
    }
    std::vector<String> ReadSection(const String& Section) const override
    {
        return document_.KeyNames(Section);
    }
    std::vector<String> ReadSections() const override { return document_.SectionNames(); }
    void WriteString(const String& Section, const String& Ident, const String& Value) override
    {
        document_.SetValue(Section, Ident, Value);
    }
    void EraseSection(const String& Section) override { document_.EraseSection(Section); }
    void DeleteKey(const String& Section, const String& Ident) override
    {
        document_.DeleteKey(Section, Ident);
    }

private:
    TIniDocument document_;
};

}  // namespace

TSettings DefaultSettings()
{
    TSettings d;
    d.Port = "COM1";
    d.Baud = "9600";
    d.DataBits = "8";
    d.Parity = "NONE";
    d.StopBits = "1";
    d.Lines = 100;
    d.Columns = 70;
    d.SpacesForTab = 4;
    d.DisplayMode = 0;
    d.ShowInputOnly = false;
    d.NewLineOnCR = true;
    d.NewLineOnLF = true;
    d.AutoAdjustCols = true;
    d.CheckParity = false;
    d.ParityReplaceCh = '?';
    d.AutoConnectOnKeypress = true;
    d.AutoConnectOnStart = true;
    d.StringEntryPaneVisible = true;
    d.StringEntryPane = "";
    d.FontName = "Terminal";
    d.FontSize = 14;
    d.FontCharset = 1;
    d.FontStyle = TFontStyles{};
    return d;
}

void LoadSettings(const String& FileName, const TShowSettingsMessage& ShowMessage)
{
    TSettings loaded = Settings;
    try {
        TIniFile ini(FileName);
        ReadInto(ini, loaded);
    } catch (const std::exception&) {
        loaded = DefaultSettings();
        loaded.ConfigFileName = Settings.ConfigFileName;
        loaded.Accepted = Settings.Accepted;
        Settings = loaded;
        if (ShowMessage) ShowMessage(LoadFailedMessage(FileName));
        return;
    }
    Settings = loaded;
}

void SaveSettings(const String& FileName, const TShowSettingsMessage& ShowMessage)
{
    try {
        TIniFile ini(FileName);
        WriteFrom(ini, Settings);
        ini.UpdateFile();
    } catch (const std::exception&) {
        if (ShowMessage) ShowMessage(SaveFailedMessage(FileName));
    }
}

String SettingsFileText()
{
    TMemoryIniFile ini;
    WriteFrom(ini, Settings);
    return ini.Text();
}
