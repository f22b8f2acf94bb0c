// Memory for the XML document's tags and attribute blocks. A read makes tens
// of thousands of small blocks at once and a new read or the document's end
// frees them all at once: the reader takes them from large chunks the document
// holds instead of one allocation each. Every block knows where it came from,
// so freeing one is the same call for chunk and heap blocks, and a tag that
// outlives its document (handed out by ExtractChild) keeps its chunk alive.
#pragma once
#include <cstddef>

namespace kemxml {

class TArena {
 public:
  TArena() = default;
  ~TArena() { Release(); }
  TArena(const TArena&) = delete;
  TArena& operator=(const TArena&) = delete;

  // A block of Size bytes, aligned for any object, from the current chunk.
  void* Allocate(std::size_t Size);
  // Lets go of every chunk: each goes once its last block is freed.
  void Release();

  // A block of Size bytes from the heap, freed by Free like a chunk's.
  static void* AllocateHeap(std::size_t Size);
  // Frees a block from Allocate or AllocateHeap; nil is ignored.
  static void Free(void* Block) noexcept;

 private:
  struct TChunk;
  // Lets go of the current chunk.
  void Drop();

  TChunk* FChunk = nullptr;    // the chunk blocks come from now
  std::size_t FTaken = 0;      // blocks taken from it
  std::size_t FChunkSize = 0;  // of the next chunk
  char* FAt = nullptr;
  char* FEnd = nullptr;
};

}  // namespace kemxml
