// Texts and dragged files' contents through the real OLE path: a data object of
// our own offering the text formats in memory blocks and "FileContents" items
// by index as streams (handed over at their end, as some sources do), dropped
// on a text target with stream and URL adapters.
#include <gtest/gtest.h>

#include <functional>

#include "kem3/dragdrop/dataformatadapter.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "kem3/dragdrop/dragdropstreams.h"
#include "kem3/dragdrop/droptarget_win.h"
#include "kem3/dragdrop/textblocks.h"
#include "platform/app_scope_win.h"
#include "support/data_object_win.h"

namespace {

// Adds "FileContents" items asked for by index, each an IStream.
class StreamDataObject : public testdnd::DataObject {
 public:
  StreamDataObject& Item(LONG index, std::string bytes) {
    items_[index] = std::move(bytes);
    return *this;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (format && format->cfFormat == Contents() && items_.count(format->lindex)) {
      return (format->tymed & TYMED_ISTREAM) ? S_OK : DV_E_TYMED;
    }
    return testdnd::DataObject::QueryGetData(format);
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || format->cfFormat != Contents() || !items_.count(format->lindex)) {
      return testdnd::DataObject::GetData(format, medium);
    }
    if (!(format->tymed & TYMED_ISTREAM)) return DV_E_TYMED;
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return E_OUTOFMEMORY;
    const std::string& bytes = items_[format->lindex];
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);  // left at its end
    medium->tymed = TYMED_ISTREAM;
    medium->pstm = stream;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }

 private:
  static CLIPFORMAT Contents() { return static_cast<CLIPFORMAT>(RegisterClipboardFormatA("FileContents")); }
  std::map<LONG, std::string> items_;
};

std::string Utf16(const wchar_t* text) {
  return std::string(reinterpret_cast<const char*>(text), (wcslen(text) + 1) * sizeof(wchar_t));
}

TEST(DropFormatsOle, TextsAndStreamItemsReachTheTarget) {
  TAppScope app;
  TQuietForm* form = new TQuietForm(nullptr);
  form->SetBounds(100, 100, 200, 150);
  form->Show();
  auto* target = new TDropTextTarget(form);
  TDataFormatAdapter* adapters[2] = {};
  const char* names[2] = {"TDataStreamDataFormat", "TURLDataFormat"};
  for (int i = 0; i < 2; ++i) {
    adapters[i] = new TDataFormatAdapter(form);
    adapters[i]->SetDragDropComponent(target);
    adapters[i]->SetDataFormatName(names[i]);
    adapters[i]->SetEnabled(true);
  }
  String text, url, title;
  std::vector<std::pair<String, std::string>> streams;
  target->OnDrop = [&](TObject*, TShiftState, TPoint, std::uint32_t&) {
    text = target->Text();
    const auto* data = static_cast<TDataStreamDataFormat*>(adapters[0]->DataFormat());
    streams.clear();
    for (int i = 0; i < data->Streams.Count(); ++i) {
      TMemoryStream& s = data->Streams.Streams(i);
      streams.emplace_back(data->Streams.Names(i),
                           std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())));
    }
    const auto* link = static_cast<TURLDataFormat*>(adapters[1]->DataFormat());
    url = link->URL;
    title = link->Title;
  };
  target->Register(form);

  const std::string mail = BuildFileGroupDescriptor({u"Site.url", u"notes.txt"}, false);
  struct Case {
    const char* what;
    std::function<void(StreamDataObject&)> fill;
    String text;
    std::vector<std::pair<String, std::string>> streams;
    String url, title;
  } cases[] = {
      {"UTF-16 text",
       [](StreamDataObject& d) { d.Offer(CF_UNICODETEXT, Utf16(L"Gr\u00fc\u00dfe \u4e2d")); },
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE4\xB8\xAD",
       {},
       "",
       ""},
      {"the clipboard's HTML",
       [](StreamDataObject& d) { d.Offer("HTML Format", BuildHtmlClipboard("<html><body>x</body></html>") + '\0'); },
       "<html><body>x</body></html>\r\n",
       {},
       "",
       ""},
      {"a mail's attachments",
       [&](StreamDataObject& d) {
         d.Item(0, "[InternetShortcut]\r\nURL=http://site/\r\n").Item(1, "some notes");
         d.Offer("FileGroupDescriptor", mail);
       },
       "[InternetShortcut]\r\nURL=http://site/\r\n",
       {{"Site.url", "[InternetShortcut]\r\nURL=http://site/\r\n"}, {"notes.txt", "some notes"}},
       "http://site/",
       "Site"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    StreamDataObject data;
    c.fill(data);
    IDropTarget* drop = target->DropTargetInterface();
    const TPoint p = form->ClientToScreen({30, 30});
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(drop->DragEnter(&data, MK_LBUTTON, POINTL{p.X, p.Y}, &effect), S_OK);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(drop->Drop(&data, MK_LBUTTON, POINTL{p.X, p.Y}, &effect), S_OK);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(streams, c.streams);
    EXPECT_EQ(url, c.url);
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(data.References(), 1);
  }
  form->Free();
}

}  // namespace
