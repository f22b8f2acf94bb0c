// Feeds arbitrary bytes to the resource package reader as a package in
// memory: the directory is read and every entry looked up twice. Lookups give
// an object, nil, or one of the readers' errors; a second lookup of a loaded
// entry gives the same object. The input is also tried as a single entry's
// unpacked payload of every kind, which reaches the stream formats directly.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "kem3/framework/kemres.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/exceptions.h"
#include "platform/graphics.h"
#include "platform/streams.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The errors a damaged package may raise: stream, codec and picture errors.
template <class F>
void Tolerate(F&& f) {
  try {
    f();
  } catch (const EReadError&) {
  } catch (const EPNGImage&) {
  } catch (const EInvalidGraphic&) {
  } catch (const EOutOfResources&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TKemResources package(std::make_unique<TStringStream>(bytes));
  package.ReadDirectory();
  Check(static_cast<std::int64_t>(package.Count()) * 272 + 4 <= static_cast<std::int64_t>(size) ||
        package.Count() == 0);
  for (int i = 0; i < package.Count(); ++i) {
    const String name = package.Entry(i).Dir.Name;
    Check(name.size() <= 256);
    Tolerate([&] {
      TKemResource* first = package.Find(name);
      if (first) Check(package.Find(name) == first);
    });
  }
  for (std::int32_t kind = rkString; kind <= rkFile; ++kind) {
    auto resource = CreateResourceOfKind(kind);
    TStringStream payload(bytes);
    Tolerate([&] { resource->LoadFromStream(payload); });
  }
  return 0;
}
