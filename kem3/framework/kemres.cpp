// The resource package: opening, directory and loading entries on demand.
#include "kem3/framework/kemres.h"

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlzss.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/sysutils.h"

namespace {

bool IsAbsoluteName(const String& Name) {
  return Name.find(':') != String::npos || (!Name.empty() && (Name[0] == '/' || Name[0] == '\\'));
}

}  // namespace

TKemResources::TKemResources(const String& FileName, bool ReadOnly)
    : FFileName(IsAbsoluteName(FileName) ? FileName : GetExeDir() + FileName) {
  try {
    if (ReadOnly) {
      FStream = std::make_unique<TFileStream>(FFileName, fmOpenRead | fmShareDenyNone);
    } else if (FileExists(FFileName)) {
      FStream = std::make_unique<TFileStream>(FFileName, fmOpenReadWrite | fmShareDenyWrite);
    } else {
      FStream = std::make_unique<TFileStream>(FFileName, fmCreate | fmShareDenyWrite);
    }
  } catch (const EFileStreamError&) {
    FStream.reset();  // a package we cannot open is an empty one
  }
}

TKemResources::TKemResources(std::unique_ptr<TStream> Stream) : FStream(std::move(Stream)) {}

TKemResources::~TKemResources() = default;

void TKemResources::Clear() { FEntries.clear(); }

void TKemResources::ReadDirectory() {
  Clear();
  if (!FStream) return;
  const std::int64_t size = FStream->Size();
  FStream->SetPosition(0);
  std::int32_t count = 0;
  try {
    count = FStream->ReadLE<std::int32_t>();
  } catch (const EReadError&) {
    return;
  }
  if (count <= 0 || count > (size - 4) / kResourceEntrySize) return;
  FEntries.reserve(static_cast<size_t>(count));
  std::array<std::uint8_t, kResourceEntrySize> bytes{};
  for (std::int32_t i = 0; i < count; ++i) {
    FStream->ReadBuffer(bytes.data(), kResourceEntrySize);
    auto entry = std::make_unique<TKemResourceEntry>();
    entry->Dir = TKemResourceDirEntry::FromBytes(bytes);
    entry->DataInFile = entry->Dir.DataOffset >= 0 && entry->Dir.DataOffset <= size - kLzssHeaderSize;
    FEntries.push_back(std::move(entry));
  }
}

TKemResource* TKemResources::Find(const String& Name) {
  for (auto& entry : FEntries) {
    if (!SameText(entry->Dir.Name, Name)) continue;
    if (entry->Resource) return entry->Resource.get();
    if (!entry->DataInFile || !FStream) return nullptr;
    auto resource = CreateResourceOfKind(entry->Dir.Kind);
    if (!resource) return nullptr;
    TMemoryStream payload;
    FStream->SetPosition(entry->Dir.DataOffset);
    TKemLzss(*FStream, payload).Decode();
    payload.SetPosition(0);
    resource->LoadFromStream(payload);
    entry->Resource = std::move(resource);
    return entry->Resource.get();
  }
  return nullptr;
}

bool TKemResources::GetImage(const String& Name, TBitmap& Bitmap) {
  auto* image = dynamic_cast<TKemResourceBitmap*>(Find(Name));
  if (!image || image->Bitmap().Empty()) return false;
  Bitmap.Assign(image->Bitmap());
  return true;
}
