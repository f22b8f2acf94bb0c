// TKemLzss: unpacks an LZSS container (a 64-byte header with the packed length
// at offset 4, then the packed data) from a source stream into a destination.
// Packed data: groups of one flag byte (bits used from the lowest up) and up to
// eight items; a 1 bit is one literal byte, a 0 bit a two-byte reference into
// a ring of 4,096 bytes (12-bit position, 4-bit count + 3).
//
// Each decode owns its buffers, so the bar modules may unpack from their own
// threads at the same time.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/events.h"
#include "platform/object.h"
#include "platform/streams.h"

// Layout constants the encoder (tools) shares with the decoder.
inline constexpr int kLzssHeaderSize = 64;
inline constexpr int kLzssPackedLengthOffset = 4;
inline constexpr int kLzssRingSize = 4096;
inline constexpr int kLzssMaxMatch = 18;
inline constexpr int kLzssThreshold = 2;  // references copy more than this many bytes
inline constexpr int kLzssRingStart = kLzssRingSize - kLzssMaxMatch;

// Sender and a number: per mille done, or a count of bytes.
using TLzssCountEvent = std::function<void(TObject* Sender, int Value)>;

class TKemLzss : public TObject {
 public:
  // Binds the streams; neither is owned. Reading starts at Source's position
  // and the output is appended at Dest's position.
  TKemLzss(TStream& Source, TStream& Dest);

  // Reads the header and unpacks the packed data. A header cut short, a
  // negative packed length or one beyond the source's end raises EReadError
  // (nothing is written then); packed data that ends inside a group or a
  // reference simply stops there.
  void Decode();

  // Progress in per mille, after every refill of the input buffer.
  TLzssCountEvent OnProgress;
  // Bytes taken from the source by one read (the header, then each refill),
  // and bytes handed to the destination at once.
  TLzssCountEvent OnDataRead;
  TLzssCountEvent OnDataWritten;
  // The source ended before a read had all it asked for (only a source of
  // unknown size gets that far: a packed length beyond a known end raises).
  TNotifyEvent OnSourceExhausted;

 private:
  // Reads until Count bytes arrived or the source ends; the events report it.
  int ReadSource(std::uint8_t* Buffer, int Count);

  TStream& FSource;
  TStream& FDest;
};
