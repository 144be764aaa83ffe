// TTextArena: the text and byte values of an in-memory store, packed into
// large chunks instead of one heap block per value. A value is reached by an
// 8-byte reference; replacing or dropping a value leaves its old bytes as
// garbage until the arena is compacted (the store decides when).
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "rtl/types.h"

namespace brevant {

class TTextArena {
 public:
  // Chunk index + 1 in the high 32 bits, offset in the low ones; 0 is the
  // empty value, which takes no bytes.
  using TRef = UInt64;

  // Stores a copy of the bytes; raises std::bad_alloc when memory runs out.
  TRef Add(std::string_view bytes);
  std::string_view View(TRef ref) const;
  // Counts a value no longer referenced as garbage.
  void Release(TRef ref);
  // Bytes held by values and their lengths, live or garbage.
  std::size_t UsedBytes() const { return used_; }
  std::size_t GarbageBytes() const { return garbage_; }
  // Frees every chunk.
  void Clear();
  // Makes room for about `bytes` more value bytes in one chunk.
  void Reserve(std::size_t bytes);
  void Swap(TTextArena& other) noexcept;

 private:
  struct TChunk {
    std::unique_ptr<char[]> data;  // the bytes: per value a 4-byte length, then the value
    Cardinal size = 0;             // bytes in use
    Cardinal capacity = 0;         // bytes allocated
  };
  TChunk& ChunkFor(std::size_t need);

  std::vector<TChunk> chunks_;  // the last one takes new values
  std::size_t used_ = 0;        // as UsedBytes
  std::size_t garbage_ = 0;     // as GarbageBytes
};

}  // namespace brevant
