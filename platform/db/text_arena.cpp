#include "db/text_arena.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace brevant {

namespace {

// Chunks start small (many stores hold a few short texts) and double up to
// the full size, unless a value needs more.
constexpr std::size_t kFirstChunkBytes = std::size_t(4) << 10;
constexpr std::size_t kChunkBytes = std::size_t(1) << 20;
constexpr std::size_t kLengthBytes = sizeof(Cardinal);

}  // namespace

TTextArena::TChunk& TTextArena::ChunkFor(std::size_t need) {
  if (!chunks_.empty()) {
    TChunk& last = chunks_.back();
    if (last.capacity - last.size >= need) return last;
  }
  if (need > std::numeric_limits<Cardinal>::max() ||
      chunks_.size() >= std::numeric_limits<Cardinal>::max() - 1)
    throw std::bad_alloc();
  TChunk c;
  std::size_t next = chunks_.empty()
                         ? kFirstChunkBytes
                         : std::min<std::size_t>(chunks_.back().capacity * 2, kChunkBytes);
  c.capacity = static_cast<Cardinal>(std::max(need, std::max(next, kFirstChunkBytes)));
  c.data.reset(new char[c.capacity]);
  chunks_.push_back(std::move(c));
  return chunks_.back();
}

TTextArena::TRef TTextArena::Add(std::string_view bytes) {
  if (bytes.empty()) return 0;
  std::size_t need = kLengthBytes + bytes.size();
  TChunk& c = ChunkFor(need);
  Cardinal length = static_cast<Cardinal>(bytes.size());
  Cardinal offset = c.size;
  std::memcpy(c.data.get() + offset, &length, kLengthBytes);
  std::memcpy(c.data.get() + offset + kLengthBytes, bytes.data(), bytes.size());
  c.size += static_cast<Cardinal>(need);
  used_ += need;
  return (static_cast<TRef>(chunks_.size()) << 32) | offset;
}

std::string_view TTextArena::View(TRef ref) const {
  if (ref == 0) return {};
  const TChunk& c = chunks_[static_cast<std::size_t>(ref >> 32) - 1];
  const char* p = c.data.get() + static_cast<Cardinal>(ref);
  Cardinal length;
  std::memcpy(&length, p, kLengthBytes);
  return {p + kLengthBytes, length};
}

void TTextArena::Release(TRef ref) {
  if (ref != 0) garbage_ += kLengthBytes + View(ref).size();
}

void TTextArena::Clear() {
  chunks_.clear();
  used_ = garbage_ = 0;
}

void TTextArena::Reserve(std::size_t bytes) {
  if (bytes == 0) return;
  if (!chunks_.empty() && chunks_.back().capacity - chunks_.back().size >= bytes) return;
  // One chunk large enough; the unused tail of the current one is not lost
  // bookkeeping-wise (it is simply never filled).
  ChunkFor(std::min<std::size_t>(bytes, std::numeric_limits<Cardinal>::max()));
}

void TTextArena::Swap(TTextArena& other) noexcept {
  chunks_.swap(other.chunks_);
  std::swap(used_, other.used_);
  std::swap(garbage_, other.garbage_);
}

}  // namespace brevant
