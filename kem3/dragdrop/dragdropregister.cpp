// The one place where the data format classes and their conversions are
// registered, in a fixed order: conversions of equal priority are tried
// newest first, so the order decides ties.
#include "kem3/dragdrop/dragdropfeedback.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "kem3/dragdrop/dragdroppidl.h"
#include "kem3/dragdrop/dragdropstreams.h"
#include "kem3/dragdrop/dragdroptextformats.h"

void RegisterDragDropFormats() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  constexpr std::uint8_t both = csSource | csTarget;
  TDataFormatMap& map = DataFormatMap();

  // Text and feedback.
  AddDataFormatClass(&TTextDataFormat::Class);
  map.AddConversion(&TTextDataFormat::Class, &TTextClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TFileContentsClipboardFormat::Class, 1, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TFileGroupDescritorClipboardFormat::Class, 1, csSource, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TFileGroupDescritorWClipboardFormat::Class, 1, csSource, ddRead);
  map.AddConversion(&TFeedbackDataFormat::Class, &TPreferredDropEffectClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TFeedbackDataFormat::Class, &TPerformedDropEffectClipboardFormat::Class, 0, both, ddWrite);
  map.AddConversion(&TFeedbackDataFormat::Class, &TPasteSuccededClipboardFormat::Class, 0, both, ddWrite);
  map.AddConversion(&TFeedbackDataFormat::Class, &TInShellDragLoopClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TFeedbackDataFormat::Class, &TTargetCLSIDClipboardFormat::Class, 0, both, ddWrite);
  map.AddConversion(&TFeedbackDataFormat::Class, &TLogicalPerformedDropEffectClipboardFormat::Class, 0, both, ddWrite);
  AddDataFormatClass(&TDataStreamDataFormat::Class);
  map.AddConversion(&TDataStreamDataFormat::Class, &TFileContentsStreamClipboardFormat::Class, 0, csTarget, ddRead);
  AddDataFormatClass(&TVirtualFileStreamDataFormat::Class);  // its formats are its own

  // The other text formats.
  map.AddConversion(&TTextDataFormat::Class, &TUnicodeTextClipboardFormat::Class, 1, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TRichTextClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TOEMTextClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TCSVClipboardFormat::Class, 3, both, ddRead);

  // Shell items.
  AddDataFormatClass(&TPIDLDataFormat::Class);
  map.AddConversion(&TPIDLDataFormat::Class, &TPIDLClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TPIDLDataFormat::Class, &TFileClipboardFormat::Class, 1, both, ddRead);

  // Files.
  AddDataFormatClass(&TFileDataFormat::Class);
  map.AddConversion(&TFileDataFormat::Class, &TFileClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TFileDataFormat::Class, &TPIDLClipboardFormat::Class, 1, both, ddRead);
  map.AddConversion(&TFileDataFormat::Class, &TFilenameClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TFileDataFormat::Class, &TFilenameWClipboardFormat::Class, 2, both, ddRead);
  AddDataFormatClass(&TFileMapDataFormat::Class);
  map.AddConversion(&TFileMapDataFormat::Class, &TFilenameMapClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TFileMapDataFormat::Class, &TFilenameMapWClipboardFormat::Class, 0, both, ddRead);

  // Web addresses.
  AddDataFormatClass(&TURLDataFormat::Class);
  map.AddConversion(&TURLDataFormat::Class, &TNetscapeBookmarkClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TNetscapeImageClipboardFormat::Class, 1, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TFileContentsClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TFileGroupDescritorClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TURLClipboardFormat::Class, 2, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TTextClipboardFormat::Class, 3, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TFileClipboardFormat::Class, 4, csTarget, ddRead);
  // The UTF-16 forms come first: the 8-bit ones turn every character outside
  // the ANSI code page into "?". Registered last at the lowest priority, they
  // go before all others, the address format before the text.
  map.AddConversion(&TURLDataFormat::Class, &TUnicodeTextClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TURLDataFormat::Class, &TURLWClipboardFormat::Class, 0, both, ddRead);
  AddDataFormatClass(&THTMLDataFormat::Class);
  map.AddConversion(&THTMLDataFormat::Class, &THTMLClipboardFormat::Class, 0, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &TRFC822ClipboardFormat::Class, 1, both, ddRead);
  map.AddConversion(&TTextDataFormat::Class, &THTMLClipboardFormat::Class, 2, both, ddRead);
}
