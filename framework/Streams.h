// Byte streams: the TStream interface, TMemoryStream (a growable buffer) and TFileStream.
// Positions may be set past the end; a write there fills the gap with zeros and extends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/Object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Read and Write move as many bytes as they can and return that count (0 at the end).
    virtual int Read(void* Buffer, int Count) = 0;
    virtual int Write(const void* Buffer, int Count) = 0;
    // Returns the new position. A resulting position below 0 raises EStreamError.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, soBeginning); }
    virtual std::int64_t Size();
    // Truncates or extends (extension reads as zeros); the position is kept, but never left
    // beyond the new size.
    virtual void SetSize(std::int64_t NewSize) = 0;

    // All or nothing: a short transfer raises EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int Count);
    void WriteBuffer(const void* Buffer, int Count);
    void WriteString(std::string_view Text)
    {
        WriteBuffer(Text.data(), static_cast<int>(Text.size()));
    }
    // Copies Count bytes from Source's position (Count 0: all of Source, from its start).
    std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

class TMemoryStream : public TStream {
public:
    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()) - 1; }
    void SetSize(std::int64_t NewSize) override;

    // Size 0 and position 0.
    void Clear();
    // The bytes; valid until the next call that changes the size. Memory()[Size()] is a
    // zero byte, so the contents can also be read as a NUL-terminated text.
    char* Memory() { return data_.data(); }
    const char* Memory() const { return data_.data(); }
    // The whole contents as text (every byte, NULs included).
    String DataString() const { return String(data_.data(), data_.size() - 1); }

    void LoadFromStream(TStream* Stream);  // replaces the contents with all of Stream
    void SaveToStream(TStream* Stream);    // writes all of the contents
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);

private:
    // Always one byte longer than the contents, holding a terminating zero.
    std::vector<char> data_ = std::vector<char>(1, '\0');
    std::int64_t position_ = 0;
};

// File open modes: fmCreate makes (or truncates) a file for reading and writing.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
public:
    // Raises EFOpenError ("Cannot open file \"<name>\". <reason>") or EFCreateError
    // ("Cannot create file \"<name>\". <reason>").
    TFileStream(const String& FileName, unsigned Mode);
    ~TFileStream() override;

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;
    // Hands the buffered bytes to the system; raises EWriteError when it refuses them (a full
    // disk shows up here, not at the write that filled the buffer).
    void Flush();
    const String& FileName() const { return fileName_; }

private:
    std::FILE* file_ = nullptr;
    String fileName_;
    // The C library needs a seek between a read and a following write (and back).
    enum class LastOp { None, Read, Write } last_ = LastOp::None;
};
