// Folder names with and without their closing backslash.
#include "util/PathNames.h"

#include <cctype>

String NormalDir(std::string_view DirName)
{
    String result(DirName);
    if (result.empty() || result.back() == ':' || result.back() == '\\') return result;
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(result[0])));
    if (result.size() == 1 && upper >= 'A' && upper <= 'Z') return result + ":\\";
    return result + '\\';
}

String RemoveBackSlash(std::string_view DirName)
{
    String result(DirName);
    const bool driveRoot = result.size() == 3 && result[1] == ':' && result[2] == '\\' &&
                           std::isalpha(static_cast<unsigned char>(result[0]));
    if (result.size() > 1 && !driveRoot && result.back() == '\\') result.pop_back();
    return result;
}

bool ValidFileName(std::string_view FileName)
{
    return !FileName.empty() && FileName.find_first_of("<>\"[]|") == std::string_view::npos;
}

std::string ShellNameList(std::string_view Text, bool Split)
{
    if (Text.empty()) return std::string();
    std::string list(Text);
    if (Split)
        for (char& c : list)
            if (c == ';' || c == '|') c = '\0';
    list += '\0';
    list += '\0';
    return list;
}
