#include "rtl/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TStream, TObject)
BV_IMPLEMENT_CLASS(TMemoryStream, TStream)
BV_IMPLEMENT_ABSTRACT_CLASS(TFileStream, TStream)  // made with a file name, not by class
BV_IMPLEMENT_CLASS(TStringStream, TStream)

// ---- TStream --------------------------------------------------------------

Int64 TStream::Size() {
  const Int64 pos = Seek(0, soCurrent);
  const Int64 size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(Int64 size) {
  throw EStreamError(res::SStreamSizeError, {size});
}

void TStream::ReadBuffer(void* buffer, Int64 count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw EReadError(res::SReadError);
}

void TStream::WriteBuffer(const void* buffer, Int64 count) {
  if (count <= 0) return;
  if (Write(buffer, count) != count) throw EWriteError(res::SWriteError);
}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
  if (count < 0) return 0;
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr Int64 kChunk = 64 * 1024;
  std::vector<Byte> buf(static_cast<std::size_t>(std::min(count, kChunk)));
  Int64 left = count;
  while (left > 0) {
    const Int64 n = std::min(left, kChunk);
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

// ---- in-memory streams ----------------------------------------------------

namespace {

// The new position of a seek, or -1 when it would be negative or overflow.
Int64 SeekTarget(Int64 pos, Int64 size, Int64 offset, TSeekOrigin origin) {
  Int64 base = 0;
  switch (origin) {
    case soBeginning:
      base = 0;
      break;
    case soCurrent:
      base = pos;
      break;
    case soEnd:
      base = size;
      break;
    default:
      return -1;
  }
  Int64 target = 0;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) return -1;
  return target;
}

template <class Buffer>
void ResizeBuffer(Buffer& data, Int64 size) {
  if (size < 0) throw EStreamError(res::SStreamSizeError, {size});
  if (size > MaxMemoryStreamSize) throw EStreamError(res::SMemoryStreamError);
  try {
    data.resize(static_cast<std::size_t>(size));  // new bytes are zero
  } catch (const std::bad_alloc&) {
    throw EStreamError(res::SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(res::SMemoryStreamError);
  }
}

// Moves pos to the seek's target when there is one; answers the target.
Int64 SeekMemory(Int64& pos, Int64 size, Int64 offset, TSeekOrigin origin) {
  const Int64 target = SeekTarget(pos, size, offset, origin);
  if (target >= 0) pos = target;
  return target;
}

// Resizes the buffer; a position past the new end moves to the end.
template <class Buffer>
void SetMemorySize(Buffer& data, Int64& pos, Int64 size) {
  ResizeBuffer(data, size);
  pos = std::min(pos, size);
}

template <class Buffer>
Int64 ReadMemory(const Buffer& data, Int64& pos, void* buffer, Int64 count) {
  const Int64 size = static_cast<Int64>(data.size());
  if (count <= 0 || pos >= size) return 0;
  const Int64 n = std::min(count, size - pos);
  std::memcpy(buffer, data.data() + pos, static_cast<std::size_t>(n));
  pos += n;
  return n;
}

template <class Buffer>
Int64 WriteMemory(Buffer& data, Int64& pos, const void* buffer, Int64 count) {
  if (count <= 0) return 0;
  Int64 end = 0;
  if (__builtin_add_overflow(pos, count, &end) || end > MaxMemoryStreamSize)
    throw EStreamError(res::SMemoryStreamError);
  if (end > static_cast<Int64>(data.size())) ResizeBuffer(data, end);
  std::memcpy(data.data() + pos, buffer, static_cast<std::size_t>(count));
  pos = end;
  return count;
}

}  // namespace

Int64 TMemoryStream::Read(void* buffer, Int64 count) {
  return ReadMemory(data_, pos_, buffer, count);
}

Int64 TMemoryStream::Write(const void* buffer, Int64 count) {
  return WriteMemory(data_, pos_, buffer, count);
}

Int64 TMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
  return SeekMemory(pos_, Size(), offset, origin);
}

void TMemoryStream::SetSize(Int64 size) {
  SetMemorySize(data_, pos_, size);
}

void TMemoryStream::Clear() {
  std::vector<Byte>().swap(data_);
  pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  if (&source == this) {
    pos_ = 0;
    return;
  }
  source.SetPosition(0);
  const Int64 size = source.Size();
  // Read into a new buffer so a failed read leaves the content as it was.
  std::vector<Byte> bytes;
  ResizeBuffer(bytes, size);
  source.ReadBuffer(bytes.data(), size);
  data_.swap(bytes);
  pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
  dest.WriteBuffer(Memory(), Size());
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---- TStringStream --------------------------------------------------------

Int64 TStringStream::Read(void* buffer, Int64 count) {
  return ReadMemory(data_, pos_, buffer, count);
}

Int64 TStringStream::Write(const void* buffer, Int64 count) {
  return WriteMemory(data_, pos_, buffer, count);
}

Int64 TStringStream::Seek(Int64 offset, TSeekOrigin origin) {
  return SeekMemory(pos_, Size(), offset, origin);
}

void TStringStream::SetSize(Int64 size) {
  SetMemorySize(data_, pos_, size);
}

String TStringStream::ReadString(Int64 count) {
  const Int64 size = Size();
  if (count <= 0 || pos_ >= size) return String();
  const Int64 n = std::min(count, size - pos_);
  String r = data_.substr(static_cast<std::size_t>(pos_), static_cast<std::size_t>(n));
  pos_ += n;
  return r;
}

// ---- TFileStream ----------------------------------------------------------

namespace {
String SystemErrorText(int err) {
  return std::strerror(err);
}
}  // namespace

TFileStream::TFileStream(const String& fileName, Word mode) : fileName_(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (mode & 0x3) {
      case fmOpenWrite:
        flags |= O_WRONLY;
        break;
      case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
      default:
        flags |= O_RDONLY;
        break;
    }
  }
  int fd = -1;
  do {
    fd = ::open(fileName.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  int err = errno;
  if (fd >= 0) {
    // A directory opens for reading on this host, but is no file.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      fd = -1;
      err = EISDIR;
    }
  }
  if (fd < 0) {
    const String reason = SystemErrorText(err);
    if (create) throw EFCreateError(res::SFCreateErrorEx, {fileName, reason});
    throw EFOpenError(res::SFOpenErrorEx, {fileName, reason});
  }
  fd_ = fd;
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

Int64 TFileStream::Read(void* buffer, Int64 count) {
  Int64 done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < count) {
    const auto chunk = static_cast<std::size_t>(std::min<Int64>(count - done, Int64(1) << 30));
    const ssize_t n = ::read(fd_, p + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError(res::SFReadError, {fileName_, SystemErrorText(errno)});
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

Int64 TFileStream::Write(const void* buffer, Int64 count) {
  Int64 done = 0;
  const auto* p = static_cast<const char*>(buffer);
  while (done < count) {
    const auto chunk = static_cast<std::size_t>(std::min<Int64>(count - done, Int64(1) << 30));
    const ssize_t n = ::write(fd_, p + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError(res::SFWriteError, {fileName_, SystemErrorText(errno)});
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

Int64 TFileStream::Seek(Int64 offset, TSeekOrigin origin) {
  int whence = SEEK_SET;
  switch (origin) {
    case soBeginning:
      whence = SEEK_SET;
      break;
    case soCurrent:
      whence = SEEK_CUR;
      break;
    case soEnd:
      whence = SEEK_END;
      break;
    default:
      return -1;
  }
  const off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<Int64>(r);
}

Int64 TFileStream::Size() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return TStream::Size();
  return static_cast<Int64>(st.st_size);
}

void TFileStream::SetSize(Int64 size) {
  if (size < 0) throw EStreamError(res::SStreamSizeError, {size});
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
    throw EStreamError(res::SFSetSizeError, {fileName_, SystemErrorText(errno)});
  if (Position() > size) Seek(size, soBeginning);
}

}  // namespace brevant
