#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "rtl/exceptions.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

String Contents(TMemoryStream& ms) {
  return ms.Size()
             ? String(static_cast<const char*>(ms.Memory()), static_cast<std::size_t>(ms.Size()))
             : String();
}

// A memory stream that counts the bytes written through its Write.
class CountingStream : public TMemoryStream {
 public:
  Int64 written = 0;
  Int64 Write(const void* buffer, Int64 count) override {
    const Int64 n = TMemoryStream::Write(buffer, count);
    written += n;
    return n;
  }
};

}  // namespace

TEST(MemoryStream, ReadWriteSeek) {
  TMemoryStream ms;
  EXPECT_EQ(ms.Memory(), nullptr);
  EXPECT_EQ(ms.Write("hello", 5), 5);
  EXPECT_EQ(ms.Position(), 5);
  EXPECT_EQ(ms.Size(), 5);
  ms.SetPosition(1);
  char buf[16] = {};
  EXPECT_EQ(ms.Read(buf, 100), 4);  // short read at the end
  EXPECT_EQ(String(buf, 4), "ello");
  EXPECT_EQ(ms.Read(buf, 1), 0);
  EXPECT_EQ(ms.Read(buf, -1), 0);
  EXPECT_EQ(ms.Write(buf, -5), 0);

  EXPECT_EQ(ms.Seek(-2, soEnd), 3);
  EXPECT_EQ(ms.Seek(1, soCurrent), 4);
  EXPECT_EQ(ms.Seek(-10, soCurrent), -1);  // before the start: refused
  EXPECT_EQ(ms.Position(), 4);
  EXPECT_EQ(ms.Seek(INT64_MAX, soCurrent), -1);  // overflow: refused
  EXPECT_EQ(ms.Position(), 4);

  // Past the end: allowed; reading gives nothing, writing zero-fills the gap.
  EXPECT_EQ(ms.Seek(8, soBeginning), 8);
  EXPECT_EQ(ms.Read(buf, 1), 0);
  ms.WriteBuffer("!", 1);
  EXPECT_EQ(Contents(ms), String("hello\0\0\0!", 9));

  ms.SetSize(2);
  EXPECT_EQ(ms.Position(), 2);  // moved back to the new end
  ms.SetSize(4);
  EXPECT_EQ(Contents(ms), String("he\0\0", 4));
  EXPECT_THROW(ms.SetSize(-1), EStreamError);
  EXPECT_THROW(ms.SetSize(MaxMemoryStreamSize + 1), EStreamError);
  ms.SetPosition(INT64_MAX - 1);
  EXPECT_THROW(ms.Write("ab", 2), EStreamError);  // would overflow the size
  EXPECT_EQ(ms.Size(), 4);
  ms.Clear();
  EXPECT_EQ(ms.Size(), 0);
  EXPECT_EQ(ms.Position(), 0);
}

TEST(MemoryStream, BufferedTransfersAndCopy) {
  CountingStream dst;
  TMemoryStream src;
  src.WriteBuffer("abcdef", 6);
  char buf[8];
  src.SetPosition(4);
  EXPECT_THROW(src.ReadBuffer(buf, 3), EReadError);
  src.ReadBuffer(buf, 0);  // nothing asked: no error

  // Count 0 copies the whole source from its start, through the virtual
  // Write.
  src.SetPosition(5);
  EXPECT_EQ(dst.CopyFrom(src, 0), 6);
  EXPECT_EQ(dst.written, 6);
  src.SetPosition(2);
  EXPECT_EQ(dst.CopyFrom(src, 3), 3);
  EXPECT_EQ(Contents(dst), "abcdefcde");
  EXPECT_EQ(dst.CopyFrom(src, -1), 0);
  src.SetPosition(4);
  EXPECT_THROW(dst.CopyFrom(src, 3), EReadError);

  // Large copies go in chunks.
  TMemoryStream big, copy;
  big.SetSize(200000);
  static_cast<char*>(big.Memory())[199999] = 'z';
  EXPECT_EQ(copy.CopyFrom(big, 0), 200000);
  EXPECT_EQ(static_cast<char*>(copy.Memory())[199999], 'z');
}

TEST(MemoryStream, LoadAndSave) {
  TStringStream src("payload");
  src.SetPosition(3);
  TMemoryStream ms;
  ms.WriteBuffer("old content", 11);
  ms.LoadFromStream(src);  // the whole source, from its start
  EXPECT_EQ(Contents(ms), "payload");
  EXPECT_EQ(ms.Position(), 0);
  ms.LoadFromStream(ms);
  EXPECT_EQ(Contents(ms), "payload");

  TStringStream out;
  out.WriteString(">");
  ms.SetPosition(3);
  ms.SaveToStream(out);  // the whole content, at the destination's position
  EXPECT_EQ(out.DataString(), ">payload");
  EXPECT_EQ(ms.Position(), 3);

  const String path = testing::TempDir() + "bv_memstream_test.bin";
  ms.SaveToFile(path);
  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(Contents(back), "payload");
  std::remove(path.c_str());
  EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
  EXPECT_EQ(Contents(back), "payload");
}

TEST(StringStream, OverwritesAndExtends) {
  TStringStream s("abcdef");
  EXPECT_EQ(s.ReadString(2), "ab");
  s.WriteString("XY");  // overwrites in place, keeps the rest
  EXPECT_EQ(s.DataString(), "abXYef");
  s.Seek(2, soEnd);
  s.WriteString("!");
  EXPECT_EQ(s.DataString(), String("abXYef\0\0!", 9));
  s.SetPosition(7);
  EXPECT_EQ(s.ReadString(100), String("\0!", 2));
  EXPECT_EQ(s.ReadString(100), "");
  s.SetSize(3);
  EXPECT_EQ(s.DataString(), "abX");
  EXPECT_EQ(s.Position(), 3);
}

TEST(FileStream, ModesAndErrors) {
  const String path = testing::TempDir() + "bv_filestream_test.bin";
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("0123456789", 10);
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.Seek(-3, soEnd), 7);
    char c[3];
    f.ReadBuffer(c, 3);
    EXPECT_EQ(String(c, 3), "789");
    EXPECT_EQ(f.Read(c, 3), 0);
    EXPECT_EQ(f.Seek(-100, soCurrent), -1);
    f.SetSize(4);
    EXPECT_EQ(f.Size(), 4);
    EXPECT_EQ(f.Position(), 4);
  }
  {
    TFileStream f(path, fmOpenRead);
    char c[8];
    EXPECT_EQ(f.Read(c, 8), 4);  // short read
    EXPECT_EQ(String(c, 4), "0123");
    f.SetPosition(0);
    EXPECT_THROW(f.ReadBuffer(c, 5), EReadError);
    EXPECT_THROW(f.Write("x", 1), EWriteError);  // opened for reading only
  }
  {
    TFileStream f(path, fmOpenReadWrite);
    f.Seek(2, soBeginning);
    f.WriteBuffer("AB", 2);
    f.Seek(6, soBeginning);  // past the end: writing zero-fills the gap
    f.WriteBuffer("Z", 1);
  }
  {
    TMemoryStream ms;
    ms.LoadFromFile(path);
    EXPECT_EQ(Contents(ms), String("01AB\0\0Z", 7));
  }
  std::remove(path.c_str());

  try {
    TFileStream f(path, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find("\"" + path + "\""), String::npos) << e.Message();
    EXPECT_GT(e.Message().size(), path.size() + 20) << "no system reason: " << e.Message();
  }
  EXPECT_THROW(TFileStream(testing::TempDir() + "missing/dir/file", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(testing::TempDir(), fmOpenRead), EFOpenError);  // a directory
}
