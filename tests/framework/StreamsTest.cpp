// Stream position semantics: the receive path's append-onto-the-NUL pattern, writes past the
// end, size changes, and the file stream's read/write switching.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "framework/Exceptions.h"
#include "framework/Streams.h"

namespace {

// Appends a piece the way the receive path does: step back onto the final NUL (unless the
// stream is empty) and write the piece followed by a new NUL.
void AppendPiece(TMemoryStream& s, const String& piece)
{
    if (s.Position() != 0) s.Seek(-1, soCurrent);
    s.Write(piece.c_str(), static_cast<int>(piece.size()) + 1);
}

String TempName(const char* tag)
{
    return (std::filesystem::temp_directory_path() /
            (String("qv_streams_") + tag + "_" + std::to_string(std::random_device()())))
        .string();
}

}  // namespace

TEST(MemoryStream, AppendingOntoTheTerminatingNulKeepsExactlyOneNulAtTheEnd)
{
    TMemoryStream s;
    AppendPiece(s, "ab");
    EXPECT_EQ(s.Size(), 3);
    AppendPiece(s, "cd\r");
    AppendPiece(s, "");
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(s.DataString(), String("abcd\r\0", 6));
    EXPECT_STREQ(s.Memory(), "abcd\r");
}

TEST(MemoryStream, OverwritingTheNulAndWritingPastItExtendsBySixBytes)
{
    // The screen load: header + body, then "\par }" over the final NUL and after it.
    TMemoryStream s;
    s.WriteString(String("xy\0", 3));
    s.Seek(-1, soCurrent);
    s.WriteString("\\par }");
    EXPECT_EQ(s.DataString(), "xy\\par }");
    s.SetPosition(0);
    char buf[16] = {};
    EXPECT_EQ(s.Read(buf, sizeof buf), 8);
    EXPECT_EQ(s.Read(buf, sizeof buf), 0);
}

TEST(MemoryStream, WritingPastTheEndZeroFillsTheGap)
{
    TMemoryStream s;
    s.WriteString("abc");
    s.SetPosition(6);
    EXPECT_EQ(s.Size(), 3);  // seeking alone does not grow
    char buf[4];
    EXPECT_EQ(s.Read(buf, 4), 0);
    s.WriteString("Z");
    EXPECT_EQ(s.DataString(), String("abc\0\0\0Z", 7));
}

TEST(MemoryStream, ShrinkingPullsThePositionBackAndClearEmpties)
{
    TMemoryStream s;
    s.WriteString("abcdef");
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_STREQ(s.Memory(), "ab");
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_STREQ(s.Memory(), "");
    EXPECT_THROW(s.Seek(-1, soCurrent), EStreamError);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ReadBufferRaisesOnAShortRead)
{
    TMemoryStream s;
    s.WriteString("ab");
    s.SetPosition(0);
    char buf[3];
    EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
}

TEST(MemoryStream, CopyFromAndFileRoundTrip)
{
    TMemoryStream a, b;
    a.WriteString(String("one\0two", 7));
    b.WriteString("x");
    b.CopyFrom(&a, 0);
    EXPECT_EQ(b.DataString(), String("xone\0two", 8));
    String name = TempName("mem");
    b.SaveToFile(name);
    TMemoryStream c;
    c.LoadFromFile(name);
    EXPECT_EQ(c.DataString(), b.DataString());
    EXPECT_EQ(c.Position(), 0);
    std::remove(name.c_str());
}

TEST(FileStream, OpeningAMissingFileRaisesEFOpenErrorNamingTheFile)
{
    String name = TempName("missing");
    try {
        TFileStream f(name, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message.rfind("Cannot open file \"" + name + "\". ", 0), 0u) << e.Message;
    }
    EXPECT_THROW(TFileStream(name + "/sub/x", fmCreate), EFCreateError);
}

TEST(FileStream, ReadThenWriteAndSeekPastEndBehaveLikeTheMemoryStream)
{
    String name = TempName("rw");
    {
        TFileStream f(name, fmCreate);
        f.WriteString("abcdef");
        EXPECT_EQ(f.Size(), 6);
        EXPECT_EQ(f.Position(), 6);
        f.SetPosition(1);
        char c;
        f.ReadBuffer(&c, 1);
        EXPECT_EQ(c, 'b');
        f.WriteString("X");  // lands at position 2, after the read
        f.SetPosition(8);
        f.WriteString("Z");
        f.SetSize(9);
        EXPECT_EQ(f.Size(), 9);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.DataString(), String("abXdef\0\0Z", 9));
    {
        TFileStream f(name, fmOpenReadWrite);
        f.SetSize(3);
        EXPECT_EQ(f.Position(), 0);
        EXPECT_EQ(f.Size(), 3);
    }
    std::remove(name.c_str());
}
