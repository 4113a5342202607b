// The free file name in a folder, with the existence test injected: the probing order and
// folder joining, and the refusal of masks without exactly one integer placeholder.
#include <gtest/gtest.h>

#include <set>

#include "framework/Exceptions.h"
#include "util/UniqueFileName.h"

TEST(UniqueFileName, SkipsExistingNamesAndReturnsTheNameAlone)
{
    const std::set<String> existing = {"C:\\Work\\Doc0.txt", "C:\\Work\\Doc1.txt"};
    std::vector<String> probed;
    auto exists = [&](const String& f) {
        probed.push_back(f);
        return existing.count(f) > 0;
    };
    EXPECT_EQ(GetUniqueFileNameInDir("C:\\Work", "Doc%d.txt", exists), "Doc2.txt");
    EXPECT_EQ(probed, (std::vector<String>{"C:\\Work\\Doc0.txt", "C:\\Work\\Doc1.txt",
                                           "C:\\Work\\Doc2.txt"}));
    EXPECT_EQ(GetUniqueFileNameInDir("C:\\Work\\", "Doc%d.txt", exists), "Doc2.txt");
    EXPECT_EQ(GetUniqueFileNameInDir("C:\\Work", "Log%.3d-%%.txt", exists), "Log000-%.txt");
}

TEST(UniqueFileName, MaskWithoutExactlyOneIntegerPlaceholderIsRefused)
{
    int probes = 0;
    auto exists = [&](const String&) {
        ++probes;
        return true;
    };
    for (const char* mask : {"Doc.txt", "Doc%s.txt", "Doc%d-%d.txt", "Doc%", "Doc%f.txt",
                             "100%%.txt", "Doc%-3.txt", "Doc%999999d", "Doc%.300d"}) {
        SCOPED_TRACE(mask);
        try {
            GetUniqueFileNameInDir("C:\\Work", mask, exists);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_NE(String(e.what()).find(mask), String::npos);
        }
    }
    EXPECT_EQ(probes, 0);
}
