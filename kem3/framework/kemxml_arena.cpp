// Memory for the XML document's tags and attribute blocks.
#include "kem3/framework/kemxml_arena.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace kemxml {

// A chunk counts its blocks still in use. While the arena takes blocks from it,
// the count starts from a bias far above any number of blocks, so taking one
// needs no atomic step: the arena settles its own count when it lets go.
struct TArena::TChunk {
  static constexpr std::size_t kBias = std::size_t{1} << (sizeof(std::size_t) * 8 - 2);
  std::atomic<std::size_t> Refs{kBias};
};

namespace {

// Before each block: the chunk it lies in, nil for the heap; the block stays aligned for any object.
constexpr std::size_t kHeader = 16;
// Chunks grow from small, so a small document costs little, to a size below
// the one at which the C library maps memory for each request.
constexpr std::size_t kFirstChunkSize = 4 * 1024;
constexpr std::size_t kChunkSize = 64 * 1024;
static_assert(sizeof(void*) <= kHeader && alignof(std::max_align_t) <= kHeader);

}  // namespace

void* TArena::Allocate(std::size_t Size) {
  const std::size_t need = (Size + kHeader + kHeader - 1) / kHeader * kHeader;
  // Big blocks would waste the rest of a chunk.
  if (need > kChunkSize / 16) return AllocateHeap(Size);
  if (FChunkSize == 0) FChunkSize = kFirstChunkSize;
  if (static_cast<std::size_t>(FEnd - FAt) < need) {
    Drop();
    const std::size_t size = std::max(FChunkSize, need + kHeader);
    char* raw = static_cast<char*>(::operator new(size));
    FChunk = new (raw) TChunk;
    FAt = raw + kHeader;
    FEnd = raw + size;
    FChunkSize = std::min(2 * FChunkSize, kChunkSize);
  }
  char* block = FAt;
  FAt += need;
  *reinterpret_cast<TChunk**>(block) = FChunk;
  ++FTaken;
  return block + kHeader;
}

void TArena::Release() {
  Drop();
  FChunkSize = kFirstChunkSize;
}

void TArena::Drop() {
  const std::size_t settle = TChunk::kBias - FTaken;
  if (FChunk && FChunk->Refs.fetch_sub(settle, std::memory_order_acq_rel) == settle) {
    FChunk->~TChunk();
    ::operator delete(FChunk);
  }
  FChunk = nullptr;
  FTaken = 0;
  FAt = FEnd = nullptr;
}

void* TArena::AllocateHeap(std::size_t Size) {
  char* raw = static_cast<char*>(::operator new(Size + kHeader));
  *reinterpret_cast<TChunk**>(raw) = nullptr;
  return raw + kHeader;
}

void TArena::Free(void* Block) noexcept {
  if (!Block) return;
  char* raw = static_cast<char*>(Block) - kHeader;
  TChunk* chunk = *reinterpret_cast<TChunk**>(raw);
  if (!chunk) {
    ::operator delete(raw);
  } else if (chunk->Refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    chunk->~TChunk();
    ::operator delete(chunk);
  }
}

}  // namespace kemxml
