// Shell links read by the Windows shell (IShellLinkW).
#pragma once
#include "launcher/ov3iconfactory.h"

class TShellLinkReaderWin : public TShellLinkReader {
 public:
  bool Read(const String& FileName, TShellLinkValues& Values) override;
};
