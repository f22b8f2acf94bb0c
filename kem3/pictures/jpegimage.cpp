// JPEG decoding through libjpeg. libjpeg reports a fatal error by calling the
// error manager's error_exit, which must not return; it jumps back (longjmp)
// into DecodeJpeg. That function and libjpeg's own frames are the only ones
// the jump crosses, and none of them owns a C++ object, so nothing is skipped
// that needed destroying. Everything C++ (the bitmap, the exception) happens
// outside, after DecodeJpeg has returned.
#include "kem3/pictures/jpegimage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include <jpeglib.h>

namespace {

// Greater than any real progressive file needs; bounds the work a hostile file can cause.
constexpr int kMaxScans = 1000;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

struct TJpegError {
  jpeg_error_mgr Manager;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

// Where the decoder puts the picture: asked for rows once the size is known.
// The callbacks never throw.
struct TJpegTarget {
  void* Context;
  // Memory for Width x Height pixels of three bytes (blue, green, red), or nullptr.
  std::uint8_t* (*Begin)(void* Context, int Width, int Height);
  std::uint8_t* (*Row)(void* Context, int Y);
};

struct TJpegDecoder {
  jpeg_decompress_struct Info;
  TJpegError Error;
  jpeg_progress_mgr Progress;
};

extern "C" void JpegErrorExit(j_common_ptr Info) {
  auto* error = reinterpret_cast<TJpegError*>(Info->err);
  Info->err->format_message(Info, error->Message);
  std::longjmp(error->Jump, 1);
}

// Warnings (for example data ending early, which reads as grey) are not shown anywhere.
extern "C" void JpegOutputMessage(j_common_ptr) {}

void Fail(TJpegDecoder* Decoder, const char* Message) {
  std::snprintf(Decoder->Error.Message, sizeof Decoder->Error.Message, "%s", Message);
  std::longjmp(Decoder->Error.Jump, 1);
}

extern "C" void JpegProgress(j_common_ptr Info) {
  auto* decoder = reinterpret_cast<TJpegDecoder*>(Info);
  if (decoder->Info.input_scan_number > kMaxScans) Fail(decoder, "JPEG image has too many scans");
}

void CmykToBgr(const std::uint8_t* In, std::uint8_t* Out, unsigned Width, bool Inverted) {
  for (unsigned x = 0; x < Width; ++x, In += 4, Out += 3) {
    // Adobe's files store the inks inverted (255 = no ink).
    unsigned c = In[0], m = In[1], y = In[2], k = In[3];
    if (!Inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    Out[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    Out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    Out[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
  }
}

// Decodes the whole picture into Target (HeaderOnly: reads just the size into
// Width and Height). False with Decoder->Error.Message on any failure. The
// decoder state lives in *Decoder, not in this frame, so it is intact after a jump.
bool DecodeJpeg(TJpegDecoder* Decoder, const std::uint8_t* Data, std::size_t Size, const TJpegTarget* Target,
                bool HeaderOnly, int* Width, int* Height) {
  j_decompress_ptr info = &Decoder->Info;
  std::memset(Decoder, 0, sizeof *Decoder);
  info->err = jpeg_std_error(&Decoder->Error.Manager);
  Decoder->Error.Manager.error_exit = JpegErrorExit;
  Decoder->Error.Manager.output_message = JpegOutputMessage;
  if (setjmp(Decoder->Error.Jump)) {
    jpeg_destroy_decompress(info);
    return false;
  }
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = kMaxDecoderMemory;
  Decoder->Progress.progress_monitor = JpegProgress;
  info->progress = &Decoder->Progress;
  if (Size > 0x3FFFFFFF) Fail(Decoder, "JPEG data too large");
  jpeg_mem_src(info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(info, TRUE);
  *Width = static_cast<int>(info->image_width);
  *Height = static_cast<int>(info->image_height);
  if (HeaderOnly) {
    jpeg_destroy_decompress(info);
    return true;
  }
  if (static_cast<std::int64_t>(info->image_width) * info->image_height > TJPEGImage::MaxPixels)
    Fail(Decoder, "JPEG image is too large");
  bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(info);
  unsigned w = info->output_width, h = info->output_height;
  if (!Target->Begin(Target->Context, static_cast<int>(w), static_cast<int>(h)))
    Fail(Decoder, "Not enough memory for the JPEG image");
  JSAMPARRAY cmykRow =
      cmyk ? (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, w * 4, 1) : nullptr;
  while (info->output_scanline < h) {
    std::uint8_t* out = Target->Row(Target->Context, static_cast<int>(info->output_scanline));
    JSAMPROW row = cmyk ? cmykRow[0] : out;
    if (jpeg_read_scanlines(info, &row, 1) != 1) Fail(Decoder, "JPEG data ended early");
    if (cmyk) CmykToBgr(row, out, w, info->saw_Adobe_marker);
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return true;
}

// The picture being decoded: a pf24bit bitmap made at Begin.
struct TBitmapTarget {
  TBitmap Bitmap;
  std::uint8_t* Top = nullptr;
  std::ptrdiff_t Stride = 0;
};

std::uint8_t* BeginBitmap(void* Context, int Width, int Height) {
  auto* target = static_cast<TBitmapTarget*>(Context);
  try {
    target->Bitmap.SetPixelFormat(pf24bit);
    target->Bitmap.SetSize(Width, Height);
    target->Top = static_cast<std::uint8_t*>(target->Bitmap.ScanLine(0));
    target->Stride = target->Bitmap.ScanLineSize();
    return target->Top;
  } catch (...) {
    return nullptr;
  }
}

std::uint8_t* BitmapRow(void* Context, int Y) {
  auto* target = static_cast<TBitmapTarget*>(Context);
  return target->Top - target->Stride * Y;
}

}  // namespace

void TJPEGImage::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  auto decoder = std::make_unique<TJpegDecoder>();
  auto target = std::make_unique<TBitmapTarget>();
  TJpegTarget callbacks{target.get(), BeginBitmap, BitmapRow};
  int width = 0, height = 0;
  if (!DecodeJpeg(decoder.get(), Data, Size, &callbacks, false, &width, &height))
    throw EJPEG(std::string("JPEG error: ") + decoder->Error.Message);
  target->Bitmap.SetAlphaFormat(afIgnored);
  Assign(target->Bitmap);
}

void TJPEGImage::LoadFromStream(TStream& Stream) {
  std::int64_t left = Stream.Size() - Stream.Position();
  std::string data = Stream.ReadBytes(left > 0 ? left : 0);
  LoadFromBytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

void TJPEGImage::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

bool JpegImageSize(const std::uint8_t* Data, std::size_t Size, int& Width, int& Height) {
  auto decoder = std::make_unique<TJpegDecoder>();
  TJpegTarget none{nullptr, nullptr, nullptr};
  return DecodeJpeg(decoder.get(), Data, Size, &none, true, &Width, &Height);
}
