// The XML document against pugixml and tinyxml2 on a contents file of 10,000
// icons in 20 groups (about 4 MB, written by our own writer in iso-8859-1 as the
// launcher writes it): reading bytes into a tree, writing a tree into bytes,
// and the launcher's start path through a real file.
#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <pugixml.hpp>
#include <string>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr int kGroups = 20;
constexpr int kIconsPerGroup = 500;

// Names the way users' icons look: folders with blanks, some letters outside
// ASCII, parameters, working folders and now and then a shortcut key.
const char* const kVendors[] = {
    "Mozilla", "Microsoft Office", "Adobe", "Caf\xc3\xa9 Tools", "Games", "\xe6\x97\xa5\xe6\x9c\xac Soft", "Utilities"};

std::unique_ptr<TKemXml> MakeContents() {
  auto doc = std::make_unique<TKemXml>();
  CreateDefaultContents(*doc);
  TKemXmlTag* groups = doc->FindPath("ov3contents.groups");
  groups->Clear(true, false);
  int id = 1;
  for (int g = 0; g < kGroups; ++g) {
    TKemXmlTag* group = groups->AddTag("group");
    group->AddAttr("title", "Group &" + IntToStr(g + 1));
    TKemXmlTag* icons = group->AddTag("icons");
    for (int i = 0; i < kIconsPerGroup; ++i, ++id) {
      const String vendor = kVendors[id % 7];
      const String program = "Program " + IntToStr(id);
      const String folder = "C:\\Program Files\\" + vendor + "\\" + program;
      TKemXmlTag* icon = icons->AddTag("icon");
      icon->AddAttr("title", vendor + " " + program);
      icon->AddAttr("comment", "Starts " + program + " of " + vendor + " with its usual settings");
      icon->AddAttr("id", IntToStr(id));
      icon->AddAttr("cacheindex", IntToStr(id - 1));
      icon->AddAttr("type", "program");
      TKemXmlTag* application = icon->AddTag("application");
      application->AddAttr("filename", folder + "\\program" + IntToStr(id) + ".exe");
      application->AddAttr("parameters", id % 3 ? "" : "-profile \"default\" /safe");
      application->AddAttr("folder", folder);
      TKemXmlTag* image = icon->AddTag("image");
      image->AddAttr("filename", folder + "\\program" + IntToStr(id) + ".exe");
      image->AddAttr("index", IntToStr(id % 4));
      if (id % 5 == 0) icon->AddTag("shortcut")->AddAttr("key", "F" + IntToStr(id % 12 + 1) + ",Ctrl+Alt");
    }
  }
  return doc;
}

const String& ContentsBytes() {
  static const String bytes = MakeContents()->SaveToString();
  return bytes;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(ContentsBytes().size()));
}

void BM_XmlRead_Orvanel(benchmark::State& state) {
  const String& bytes = ContentsBytes();
  for (auto _ : state) {
    TKemXml doc;
    doc.LoadFromString(bytes);
    benchmark::DoNotOptimize(doc.Root());
  }
  SetBytes(state);
}
BENCHMARK(BM_XmlRead_Orvanel)->Unit(benchmark::kMillisecond);

void BM_XmlRead_Pugixml(benchmark::State& state) {
  const String& bytes = ContentsBytes();
  for (auto _ : state) {
    pugi::xml_document doc;
    benchmark::DoNotOptimize(doc.load_buffer(bytes.data(), bytes.size()));
  }
  SetBytes(state);
}
BENCHMARK(BM_XmlRead_Pugixml)->Unit(benchmark::kMillisecond);

void BM_XmlRead_Tinyxml2(benchmark::State& state) {
  const String& bytes = ContentsBytes();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    benchmark::DoNotOptimize(doc.Parse(bytes.data(), bytes.size()));
  }
  SetBytes(state);
}
BENCHMARK(BM_XmlRead_Tinyxml2)->Unit(benchmark::kMillisecond);

void BM_XmlWrite_Orvanel(benchmark::State& state) {
  TKemXml doc;
  doc.LoadFromString(ContentsBytes());
  for (auto _ : state) benchmark::DoNotOptimize(doc.SaveToString());
  SetBytes(state);
}
BENCHMARK(BM_XmlWrite_Orvanel)->Unit(benchmark::kMillisecond);

struct TStringWriter : pugi::xml_writer {
  std::string Out;
  void write(const void* data, size_t size) override { Out.append(static_cast<const char*>(data), size); }
};

void BM_XmlWrite_Pugixml(benchmark::State& state) {
  pugi::xml_document doc;
  doc.load_buffer(ContentsBytes().data(), ContentsBytes().size());
  for (auto _ : state) {
    TStringWriter writer;
    doc.save(writer);
    benchmark::DoNotOptimize(writer.Out);
  }
  SetBytes(state);
}
BENCHMARK(BM_XmlWrite_Pugixml)->Unit(benchmark::kMillisecond);

void BM_XmlWrite_Tinyxml2(benchmark::State& state) {
  tinyxml2::XMLDocument doc;
  doc.Parse(ContentsBytes().data(), ContentsBytes().size());
  for (auto _ : state) {
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    benchmark::DoNotOptimize(printer.CStr());
  }
  SetBytes(state);
}
BENCHMARK(BM_XmlWrite_Tinyxml2)->Unit(benchmark::kMillisecond);

// What every start of the bar does with its contents file: open it, complete
// it with the default contents, and save it again (which writes nothing when
// the file already holds the completed contents, as it does from the second start on).
void StartPath(benchmark::State& state, const String& bytes) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  WriteFileAtomic(name, bytes);
  std::unique_ptr<TKemXml> doc;
  for (auto _ : state) {
    // The bar keeps its document: the last round's goes outside the time, and
    // so does putting back the file when the save changed it.
    state.PauseTiming();
    doc.reset();
    if (&bytes != &ContentsBytes()) WriteFileAtomic(name, bytes);
    state.ResumeTiming();
    doc = OpenContentsDocument(name);
    CreateDefaultContents(*doc);
    SaveContents(*doc, name);
  }
  SetBytes(state);
}

void BM_ContentsStartPath(benchmark::State& state) { StartPath(state, ContentsBytes()); }
BENCHMARK(BM_ContentsStartPath)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first start after a user changed a module's title: the save writes a new file.
void BM_ContentsStartPathWriting(benchmark::State& state) {
  static const String changed = [] {
    String bytes = ContentsBytes();
    bytes.replace(bytes.find("title=\"AnalogClock\""), 19, "title=\"Clock\"");
    return bytes;
  }();
  StartPath(state, changed);
}
BENCHMARK(BM_ContentsStartPathWriting)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
