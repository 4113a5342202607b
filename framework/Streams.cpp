// TStream's helpers, TMemoryStream and TFileStream.
#include "framework/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "framework/Exceptions.h"

namespace {

std::int64_t NewPosition(std::int64_t current, std::int64_t size, std::int64_t offset,
                         TSeekOrigin origin)
{
    std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? current : size;
    std::int64_t result = base + offset;
    if (result < 0) throw EStreamError("Stream position %d out of range", result);
    return result;
}

}  // namespace

// ---- TStream -----------------------------------------------------------------------------

std::int64_t TStream::Size()
{
    std::int64_t here = Seek(0, soCurrent);
    std::int64_t end = Seek(0, soEnd);
    Seek(here, soBeginning);
    return end;
}

void TStream::ReadBuffer(void* Buffer, int Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(String("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(String("Stream write error"));
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    std::int64_t done = 0;
    char chunk[64 * 1024];
    while (done < Count) {
        int n = static_cast<int>(std::min<std::int64_t>(Count - done, sizeof chunk));
        Source->ReadBuffer(chunk, n);
        WriteBuffer(chunk, n);
        done += n;
    }
    return done;
}

// ---- TMemoryStream -----------------------------------------------------------------------

int TMemoryStream::Read(void* Buffer, int Count)
{
    std::int64_t size = Size();
    if (Count <= 0 || position_ >= size) return 0;
    int n = static_cast<int>(std::min<std::int64_t>(Count, size - position_));
    std::memcpy(Buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int TMemoryStream::Write(const void* Buffer, int Count)
{
    if (Count <= 0) return 0;
    std::int64_t end = position_ + Count;
    if (end > Size()) SetSize(end);
    std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
    position_ = end;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    position_ = NewPosition(position_, Size(), Offset, Origin);
    return position_;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0 || NewSize >= std::numeric_limits<int>::max())
        throw EStreamError("Stream size %d out of range", NewSize);
    // Growing zero-fills (the gap left by a write past the end included) and keeps the
    // terminating zero after the contents.
    data_.back() = '\0';
    data_.resize(static_cast<size_t>(NewSize) + 1, '\0');
    data_.back() = '\0';
    if (position_ > NewSize) position_ = NewSize;
}

void TMemoryStream::Clear()
{
    data_.assign(1, '\0');
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    std::int64_t count = Stream->Size();
    SetSize(count);
    if (count) Stream->ReadBuffer(data_.data(), static_cast<int>(count));
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream)
{
    if (Size()) Stream->WriteBuffer(data_.data(), static_cast<int>(Size()));
}

void TMemoryStream::LoadFromFile(const String& FileName)
{
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const String& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

// ---- TFileStream -------------------------------------------------------------------------

TFileStream::TFileStream(const String& FileName, unsigned Mode) : fileName_(FileName)
{
    const char* how = Mode == fmCreate ? "w+b" : (Mode & 3) == fmOpenRead ? "rb" : "r+b";
    file_ = std::fopen(FileName.c_str(), how);
    if (!file_) {
        const char* reason = std::strerror(errno);
        if (Mode == fmCreate)
            throw EFCreateError("Cannot create file \"%s\". %s", FileName, reason);
        throw EFOpenError("Cannot open file \"%s\". %s", FileName, reason);
    }
}

TFileStream::~TFileStream()
{
    if (file_) std::fclose(file_);
}

int TFileStream::Read(void* Buffer, int Count)
{
    if (Count <= 0) return 0;
    if (last_ == LastOp::Write) std::fflush(file_);
    last_ = LastOp::Read;
    return static_cast<int>(std::fread(Buffer, 1, static_cast<size_t>(Count), file_));
}

int TFileStream::Write(const void* Buffer, int Count)
{
    if (Count <= 0) return 0;
    if (last_ == LastOp::Read) Seek(0, soCurrent);
    last_ = LastOp::Write;
    return static_cast<int>(std::fwrite(Buffer, 1, static_cast<size_t>(Count), file_));
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
#ifdef _WIN32
    auto tell = [&] { return static_cast<std::int64_t>(_ftelli64(file_)); };
    auto seek = [&](std::int64_t at, int whence) { return _fseeki64(file_, at, whence); };
#else
    auto tell = [&] { return static_cast<std::int64_t>(ftello(file_)); };
    auto seek = [&](std::int64_t at, int whence) {
        return fseeko(file_, static_cast<off_t>(at), whence);
    };
#endif
    if (Origin == soCurrent && Offset == 0 && last_ != LastOp::Read) return tell();
    std::int64_t current = tell();
    std::int64_t size = 0;
    if (Origin == soEnd) {
        seek(0, SEEK_END);
        size = tell();
    }
    std::int64_t target = NewPosition(current, size, Offset, Origin);
    if (seek(target, SEEK_SET) != 0) throw EStreamError("Cannot seek in file \"%s\"", fileName_);
    last_ = LastOp::None;
    return target;
}

void TFileStream::Flush()
{
    if (std::fflush(file_) != 0) throw EWriteError("Cannot write to file \"%s\"", fileName_);
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    std::int64_t here = Position();
    std::fflush(file_);
#ifdef _WIN32
    int failed = _chsize_s(_fileno(file_), NewSize);
#else
    int failed = ftruncate(fileno(file_), static_cast<off_t>(NewSize));
#endif
    if (failed) throw EStreamError("Cannot change the size of \"%s\"", fileName_);
    Seek(std::min(here, NewSize), soBeginning);
}
