// The workers' base, their owner, the list images and patterns, and the
// texts the workers make.
#include "kem3/browser/kembrwork.h"

#include <cmath>
#include <mutex>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "platform/exceptions.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
TBrowserMessage& MessageHook() {
  static TBrowserMessage hook;
  return hook;
}

struct TRetired {
  std::mutex Mutex;
  std::vector<std::unique_ptr<TtBackProcess>> Workers;
  // At the process's end a worker may still hang in a dead network: freeing
  // it would pull its members from under its thread, and waiting would keep
  // the process alive. The system ends it with the process.
  ~TRetired() {
    for (auto& worker : Workers)
      if (!worker->Suspended() && !worker->Finished()) (void)worker.release();
  }
};
TRetired& Retired() {
  static TRetired retired;
  return retired;
}

struct TFileTypes {
  std::vector<String> Images{"FOLDER",   "DRIVEFLOPPY", "DRIVEHARD", "DRIVENET", "DRIVECDROM",
                             "DRIVERAM", "DRIVEREMOVE", "NETWORK",   "DESKTOP",  "FILE"};
  std::vector<WideString> Patterns;
  int Builtin = 0;
};
void AddFileType(TFileTypes& types, const WideString& pattern, const String& image) {
  types.Patterns.push_back(WideUpperCase(pattern));
  types.Images.push_back(image);
}
TFileTypes& FileTypes() {
  static TFileTypes types = [] {
    TFileTypes t;
    for (const char* ext : {"BAT", "EXE", "DLL", "INI", "TXT", "ZIP", "BMP", "JPG", "JPEG", "PNG", "GIF"})
      AddFileType(t, u"*." + Utf8ToWide(ext), String("FILE_") + ext);
    t.Builtin = static_cast<int>(t.Patterns.size());
    return t;
  }();
  return types;
}

TtBackProcess::TReference& CheckedReference(TtBackProcess::TReference& reference) {
  if (reference) throw Exception("Thread created while old still is referenced");
  return reference;
}
}  // namespace

TBrowserMessage SetBrowserMessage(TBrowserMessage Message) {
  TBrowserMessage previous = std::move(MessageHook());
  MessageHook() = std::move(Message);
  return previous;
}

void ShowBrowserMessage(const WideString& Caption, const WideString& Body) {
  if (MessageHook()) {
    MessageHook()(Caption, Body);
    return;
  }
  ShowSystemBrowserMessage(Caption, Body);
}

TBrowserTexts BrowserTexts() {
  TBrowserTexts t;
  auto text = [](const char* name) { return Translate(name, WideString()); };
  t.TypeFolder = text("TdBrowser_TypeFolder");
  t.Desktop = text("TdBrowser_Desktop");
  t.MyDocuments = text("TdBrowser_MyDocuments");
  t.Compressed = text("TdBrowser_Compressed");
  t.On = text("TdBrowser_on");
  t.NetworkOn = text("TdBrowser_NetworkOn");
  const char* types[] = {"TdBrowser_TypeFloppy",      "TdBrowser_TypeLocalDisk", "TdBrowser_TypeNetwork",
                         "TdBrowser_TypeCompactDisc", "TdBrowser_TypeRam",       "TdBrowser_TypeRemovableDisk"};
  for (int i = 0; i < 6; ++i) t.DriveTypes[i] = text(types[i]);
  t.NoSharesCaption = text("TdBrowser_Msg_NoShares_Caption");
  t.NoSharesBody = text("TdBrowser_Msg_NoShares_Body");
  t.ConFailCaption = text("TdBrowser_Msg_ConFail_Caption");
  t.ConFailBody = text("TdBrowser_Msg_ConFail_Body");
  return t;
}

// ---- Images and patterns

const std::vector<String>& BrowserImageNames() { return FileTypes().Images; }
const std::vector<WideString>& BrowserFilePatterns() { return FileTypes().Patterns; }
int BuiltinFilePatternCount() { return FileTypes().Builtin; }
void RegisterFileType(const WideString& Pattern, const String& ImageName) {
  AddFileType(FileTypes(), Pattern, ImageName);
}

int FileImageIndex(std::u16string_view Name) {
  const size_t dot = Name.rfind(u'.');
  if (dot == std::u16string_view::npos) return 9;
  const WideString pattern = u"*" + WideUpperCase(Name.substr(dot));
  const std::vector<WideString>& patterns = BrowserFilePatterns();
  for (size_t i = 0; i < patterns.size(); ++i)
    if (patterns[i] == pattern) return 10 + static_cast<int>(i);
  return 9;
}

// ---- Texts of the columns

WideString AttributeText(std::uint32_t Attributes) {
  WideString s = u"AHRS";
  const std::uint32_t bits[] = {kFaArchive, kFaHidden, kFaReadOnly, kFaSystem};
  for (int i = 0; i < 4; ++i)
    if (!(Attributes & bits[i])) s[i] = u' ';
  return s;
}

namespace {
// The letters d, m, y of the order in their sequence, and its separator.
void OrderParts(const String& order, char parts[3], char& separator) {
  int n = 0;
  separator = 0;
  for (char c : order) {
    const char l = static_cast<char>(c | 0x20);
    if ((l == 'd' || l == 'm' || l == 'y') && n < 3 && (n == 0 || parts[n - 1] != l))
      parts[n++] = l;
    else if (!separator && c != ' ' && l != 'd' && l != 'm' && l != 'y')
      separator = c;
  }
  if (n != 3) parts[0] = 'd', parts[1] = 'm', parts[2] = 'y';
  if (!separator) separator = '.';
}
}  // namespace

WideString BrowseDateText(double Date, const String& Order) {
  if (!(Date > 0) || Date > 2958466) return WideString();
  // Rounded to the minute as a whole, so the last half minute of a day shows
  // as the next day's midnight rather than its own.
  const long long stamp = std::llround(Date * 1440);
  const int minutes = static_cast<int>(stamp % 1440);
  // Days since 1899-12-30 to the civil date.
  const long long days = stamp / 1440 - 25569 + 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
  char parts[3], separator;
  OrderParts(Order, parts, separator);
  String s;
  for (int i = 0; i < 3; ++i) {
    if (i) s += separator;
    char buf[16];
    if (parts[i] == 'y')
      snprintf(buf, sizeof buf, "%04d", year);
    else
      snprintf(buf, sizeof buf, "%02d", parts[i] == 'd' ? day : month);
    s += buf;
  }
  char time[16];
  snprintf(time, sizeof time, " %02d:%02d", minutes / 60, minutes % 60);
  return Utf8ToWide(s + time);
}

double BrowseCriterionValue(std::string_view Text, const String& Order) {
  const String text = Trim(String(Text));
  int dashes = 0, slashes = 0, dots = 0;
  for (char c : text) dashes += c == '-', slashes += c == '/', dots += c == '.';
  char parts[3], separator;
  OrderParts(Order, parts, separator);
  const bool date = dashes == 2 || slashes == 2 || (separator == '.' && dots == 2);
  if (date) {
    // The text's own separator in the locale's order of day, month and year.
    const char sep = dashes == 2 ? '-' : slashes == 2 ? '/' : '.';
    String order{parts[0], sep, parts[1], sep, parts[2]};
    String normalised = text;
    if (sep == '.')
      for (char& c : normalised)
        if (c == '.') c = '/';
    if (sep == '.') order = String{parts[0], '/', parts[1], '/', parts[2]};
    const double d = StrToDateByOrder(normalised, order);
    return d == kInvalidDate ? 0.0 : d;
  }
  if (text.find(':') != String::npos) {
    int h = 0, m = 0, s = 0;
    if (sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s) < 2) return 0.0;
    return (h * 3600.0 + m * 60.0 + s) / 86400.0;
  }
  return StrToFloatDot(text, 0.0);
}

// ---- The base

TtBackProcess::TtBackProcess(TReference& Reference, TBrowserListSink& Sink, TBrowserSystem& System)
    : TThread((CheckedReference(Reference), true)), Sink(Sink), System(System), FReference(&Reference) {
  Reference = this;
}

// The owner frees only workers that have ended (or never started). One that
// never ran still holds its reference: it lets go of it.
TtBackProcess::~TtBackProcess() {
  if (FReference && *FReference == this) *FReference = nullptr;
}

void TtBackProcess::Cancel() {
  TCriticalSectionLock lock(Lock);
  if (FCancelled.exchange(true)) return;
  TtBackProcess::EndWork();
}

void TtBackProcess::EndWork() {
  if (FReference && *FReference == this) *FReference = nullptr;
  FReference = nullptr;
}

void TtBackProcess::SyncIfActive(const std::function<void()>& Method) {
  if (Cancelled()) return;
  Synchronize([this, &Method] {
    TCriticalSectionLock lock(Lock);
    if (!Cancelled()) Method();
  });
}

void TtBackProcess::SyncBatched(std::function<void()> Method) {
  FBatch.push_back(std::move(Method));
  if (FBatch.size() >= 256 || std::chrono::steady_clock::now() - FLastFlush >= std::chrono::milliseconds(20))
    FlushBatch();
}

void TtBackProcess::FlushBatch() {
  if (FBatch.empty()) return;
  // Taken out first: a call that raises must not leave its batch to run again.
  const std::vector<std::function<void()>> batch = std::move(FBatch);
  FBatch.clear();
  FLastFlush = std::chrono::steady_clock::now();
  SyncIfActive([&batch] {
    for (const auto& method : batch) method();
  });
}

void TtBackProcess::QueueOpenable(const WideString& Name, const WideString& SortText, int Image,
                                  std::vector<WideString> Columns, std::int64_t Total, std::int64_t Free,
                                  bool Selected) {
  SyncBatched([=, this, columns = std::move(Columns)] {
    auto data = std::make_unique<TListItemData>();
    data->Kind = bikOpenable;
    data->TotalBytes = Total;
    data->FreeBytes = Free;
    data->SortText = SortText;
    for (const WideString& c : columns) data->Columns.Add(c);
    Sink.QueueEntry(-1, Name, Selected, std::move(data), Image);
  });
}

void TtBackProcess::Execute() {
  // No box for an unready drive, on this thread only.
  const unsigned mode = System.FailCriticalErrors();
  try {
    SyncIfActive([this] { BeginWork(); });
    if (!Cancelled()) DoWork();
  } catch (...) {
    // A failing system ends the work silently, with what was found so far.
  }
  try {
    FlushBatch();
  } catch (...) {
  }
  System.RestoreErrorMode(mode);
  if (Cancelled()) return;
  Synchronize([this] {
    {
      TCriticalSectionLock lock(Lock);
      if (Cancelled()) return;
      EndWork();
    }
    Ended();
  });
}

// ---- The owner

TBrowserWorkers::~TBrowserWorkers() {
  CancelAll();
  Reap();
  if (FWorkers.empty()) return;
  TRetired& retired = Retired();
  std::lock_guard<std::mutex> guard(retired.Mutex);
  for (auto& worker : FWorkers) retired.Workers.push_back(std::move(worker));
}

void TBrowserWorkers::Start(std::unique_ptr<TtBackProcess> Worker) {
  Reap();
  ReapRetiredBrowserWorkers();
  FWorkers.push_back(std::move(Worker));
  FWorkers.back()->Start();
}

void TBrowserWorkers::Cancel(TBrowserWorkerKind Kind) {
  if (TtBackProcess* worker = FReferences[Kind]) {
    worker->Cancel();
    worker->Terminate();
  }
}

void TBrowserWorkers::CancelAll() {
  for (int kind = 0; kind < bwKinds; ++kind) Cancel(static_cast<TBrowserWorkerKind>(kind));
}

bool TBrowserWorkers::Idle() const {
  for (const auto& worker : FWorkers)
    if (!worker->Suspended() && !worker->Finished()) return false;
  return true;
}

void TBrowserWorkers::Reap() {
  std::erase_if(FWorkers, [](const std::unique_ptr<TtBackProcess>& w) { return w->Suspended() || w->Finished(); });
}

int ReapRetiredBrowserWorkers() {
  TRetired& retired = Retired();
  std::vector<std::unique_ptr<TtBackProcess>> ended;
  int running = 0;
  {
    std::lock_guard<std::mutex> guard(retired.Mutex);
    for (auto& worker : retired.Workers)
      if (worker->Finished())
        ended.push_back(std::move(worker));
      else
        ++running;
    std::erase(retired.Workers, nullptr);
  }
  return running;  // the ended ones are freed here, outside the lock
}

void WaitForRetiredBrowserWorkers() {
  std::vector<std::unique_ptr<TtBackProcess>> all;
  {
    std::lock_guard<std::mutex> guard(Retired().Mutex);
    all.swap(Retired().Workers);
  }
  // Each ends before any part of it goes: waiting runs its pending calls.
  for (auto& worker : all)
    while (!worker->Suspended() && !worker->Finished()) {
      try {
        worker->WaitFor();
      } catch (...) {
      }
    }
}
