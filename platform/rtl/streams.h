// Streams: a byte source and sink with a position. TMemoryStream keeps the
// bytes in memory, TFileStream reads and writes a file, TStringStream works
// over a String.
//
// Counts and positions are Int64 bytes. A negative count transfers nothing.
// Seek answers the new position, or -1 (position unchanged) when the target
// would be negative or overflow. Reading at or past the end answers 0.
#pragma once

#include <utility>
#include <vector>

#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

enum TSeekOrigin : Byte { soBeginning, soCurrent, soEnd };

// File stream modes: one access mode, or fmCreate; the share flags are
// accepted and ignored (the host has no mandatory sharing).
enum : Word {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,  // create or truncate, then read and write
};

class TStream : public TObject {
  BV_CLASS(TStream, TObject)
 public:
  TStream() = default;
  ~TStream() override = default;

  // Transfer up to count bytes at the position and advance it; answer the
  // number of bytes transferred.
  virtual Int64 Read(void* buffer, Int64 count) = 0;
  virtual Int64 Write(const void* buffer, Int64 count) = 0;
  virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 pos) { Seek(pos, soBeginning); }
  // The default seeks to the end and back.
  virtual Int64 Size();
  // The default raises EStreamError: the stream cannot change its size.
  virtual void SetSize(Int64 size);

  // Transfer exactly count bytes or raise EReadError / EWriteError.
  void ReadBuffer(void* buffer, Int64 count);
  void WriteBuffer(const void* buffer, Int64 count);
  // Copies count bytes from source's position; a count of 0 copies the whole
  // source from its start. Raises EReadError when source has fewer bytes.
  // Answers the bytes copied (0 for a negative count).
  Int64 CopyFrom(TStream& source, Int64 count);
};

// The largest size a memory or string stream grows to; beyond it (or when
// memory runs out) writes and SetSize raise EStreamError.
inline constexpr Int64 MaxMemoryStreamSize = Int64(1) << 40;

class TMemoryStream : public TStream {
  BV_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;

  Int64 Read(void* buffer, Int64 count) override;
  // Writing past the end grows the stream; a gap left by seeking past the end
  // reads as zero bytes.
  Int64 Write(const void* buffer, Int64 count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override { return static_cast<Int64>(data_.size()); }
  // New bytes are zero; a position past the new end moves to the end.
  void SetSize(Int64 size) override;

  // The bytes (nullptr when empty); valid until the size changes.
  void* Memory() { return data_.empty() ? nullptr : data_.data(); }
  const void* Memory() const { return data_.empty() ? nullptr : data_.data(); }
  // Empties the stream and releases its memory.
  void Clear();
  // Replaces the content with the whole of source (read from its start);
  // the position ends at 0.
  void LoadFromStream(TStream& source);
  // Writes the whole content to dest at dest's position; own position stays.
  void SaveToStream(TStream& dest);
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);

 private:
  std::vector<Byte> data_;
  Int64 pos_ = 0;
};

// A stream over a file; the file closes when the stream is destroyed.
// Raises EFOpenError (or EFCreateError for fmCreate) quoting the file name
// and the system's reason. I/O failures raise EReadError / EWriteError with
// the same details instead of passing for the end of the file.
class TFileStream : public TStream {
  BV_CLASS(TFileStream, TStream)
 public:
  TFileStream(const String& fileName, Word mode);
  ~TFileStream() override;

  Int64 Read(void* buffer, Int64 count) override;
  Int64 Write(const void* buffer, Int64 count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override;
  // Truncates or extends (with zero bytes); a position past the new end
  // moves to the end. Raises EStreamError on failure.
  void SetSize(Int64 size) override;

  const String& FileName() const { return fileName_; }
  int Handle() const { return fd_; }

 private:
  String fileName_;
  int fd_ = -1;
};

// A stream over a String: writes overwrite and extend the text like a
// memory stream does.
class TStringStream : public TStream {
  BV_CLASS(TStringStream, TStream)
 public:
  TStringStream() = default;
  explicit TStringStream(String data) : data_(std::move(data)) {}

  Int64 Read(void* buffer, Int64 count) override;
  Int64 Write(const void* buffer, Int64 count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override { return static_cast<Int64>(data_.size()); }
  void SetSize(Int64 size) override;

  const String& DataString() const { return data_; }
  // Reads up to count bytes from the position.
  String ReadString(Int64 count);
  void WriteString(const String& s) { WriteBuffer(s.data(), static_cast<Int64>(s.size())); }

 private:
  String data_;
  Int64 pos_ = 0;
};

}  // namespace brevant
