// The bar modules without their windows: each composes one square picture from
// the images of its resource package and says whether it changed. The GUI
// thread sets parameters and reads hints and menus; the module's own thread
// calls GetInterval and UpdateImage. Lock order: update, package, paint.
#pragma once
#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "kem3/framework/kemres.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3modrules.h"
#include "platform/bitmap.h"
#include "platform/threads.h"

// One entry of a module's menu, described without a window; the menus turn it
// into a skinned popup.
struct TOvModuleMenuEntry {
  enum TKind { mekText, mekSeparator, mekAction };
  TKind Kind = mekText;
  WideString Caption;  // mekText
  int ActionId = 0;    // mekAction
  bool Enabled = true;
};

// Source's pixels inside Rect put into Dest at the same place; both 32 bits
// and of one size (Rect is clipped to them).
void CopyPictureRect(TBitmap& Dest, const TBitmap& Source, const TRect& Rect);
// True when Dest can take Source's pixels in place: one size, 32 bits.
bool SamePictureShape(const TBitmap& Dest, const TBitmap& Source);

// A picture turned and scaled onto a face's picture, in that picture's
// coordinates.
struct TTurnedPicture {
  TBitmap Picture;  // the part of the face's picture it can reach
  TPoint At;        // where that part lies
  TRect Box;        // what its visible pixels cover
};
// Source (32 bits, straight alpha), centred on a face of FaceSize, turned
// clockwise by Angle degrees about Origin and drawn on a picture PictureSize
// wide that shows the whole face. Each picture pixel averages a few points of
// the source weighted by their alpha, so an edge keeps the colour of what it
// is the edge of instead of darkening towards the transparent black around it;
// only the part of the picture that the source's visible pixels reach is made.
void TurnPicture(TTurnedPicture& Dest, TBitmap& Source, const TClockOrigin& Origin, double Angle, TSize FaceSize,
                 int PictureSize);

// The language text "TdPreferences_Mod_" + (Prefix + "_") + Text, or Text itself.
WideString ModuleText(const String& Prefix, const String& Text);

class TOvModule {
 public:
  // ResourceDir: the folder of the packages, with its delimiter.
  explicit TOvModule(String ResourceDir);
  virtual ~TOvModule();
  TOvModule(const TOvModule&) = delete;
  TOvModule& operator=(const TOvModule&) = delete;

  virtual String GetModuleName() const = 0;
  // GUI thread. The element stays the document's; when not nil the module
  // reads its parameters and composes anew. Never raises.
  void SetElement(TKemXmlTag* Element);
  TKemXmlTag* Element() const { return FElement; }
  // The "value" of "parameters.<Name>", or Default.
  String GetParameter(const String& Name, const String& Default) const;
  // Parameters again and a forced picture; never raises.
  void Reload();
  // Any thread; serialised with LoadParameters. An error counts as no change.
  bool UpdateImage(bool Force);
  virtual int GetInterval() { return 1000; }
  virtual WideString GetHint() { return {}; }
  // The title and a separator, then the module's actions.
  std::vector<TOvModuleMenuEntry> BuildMenu();
  virtual void ExecuteCommand(int /*Id*/) {}

  // Side of the square picture in pixels.
  int Width() const { return FWidth.load(); }
  // A copy of the current picture (empty until the first one is drawn).
  void CopyPicture(TBitmap& Dest) const;
  // Brings Dest, the picture last taken, up to the current one and returns
  // what changed since the last call, in picture coordinates: all of it after
  // a full redraw or when Dest had another size; empty when nothing was drawn.
  // Only the changed part is copied, so a tick costs no new bitmap.
  TRect TakeChangedPicture(TBitmap& Dest);
  // True on a picture pixel whose alpha is above 128.
  bool HitTest(int X, int Y) const;

 protected:
  // Under the update lock, on the GUI thread: the module's own parameters.
  virtual void ReadParameters() {}
  // Under the update lock: true when a new picture was drawn.
  virtual bool Compose(bool Force) = 0;
  virtual void AddMenuEntries(std::vector<TOvModuleMenuEntry>&) {}

  bool PackageOpen() const;
  // False (Bitmap unchanged) without that image.
  bool GetPackageImage(const String& Name, TBitmap& Bitmap);
  // The package's string entry, or Default.
  String GetPackageString(const String& Name, const String& Default);
  // The composed image resampled into the picture (width x width, 32 bits).
  void DrawPicture(const TBitmap& Composed);
  // A picture composed at the picture's size already, differing from the one
  // shown only inside Changed.
  void ShowPicture(const TBitmap& Picture, const TRect& Changed);
  // Loads an image of the package and draws it; false when it is not there.
  bool DrawPackageImage(const String& Name);

 private:
  void LoadParameters();
  void LoadPackage();

  const String FResourceDir;
  TKemXmlTag* FElement = nullptr;
  String FImages;
  std::atomic<int> FWidth{64};
  TCriticalSection FUpdateLock;
  mutable TCriticalSection FPackageLock;
  mutable TCriticalSection FPaintLock;
  // TKemResources has no lock of its own: every use is under FPackageLock.
  std::unique_ptr<TKemResources> FPackage;
  TBitmap FPicture;
  TRect FChanged;  // under the paint lock
};

class TOvAnalogClock : public TOvModule {
 public:
  using TOvModule::TOvModule;
  String GetModuleName() const override { return kModules[omkAnalogClock].Name; }
  int GetInterval() override { return FSecondHand ? 100 : 5000; }
  WideString GetHint() override;
  void ExecuteCommand(int Id) override;
  bool SecondHand() const { return FSecondHand; }

 protected:
  void ReadParameters() override;
  bool Compose(bool Force) override;
  void AddMenuEntries(std::vector<TOvModuleMenuEntry>& Entries) override;

 private:
  // The second hand at one second's angle, at the picture's scale.
  using THand = TTurnedPicture;
  // Made at the first use of each second, kept until the package or the size changes.
  const THand* SecondHand(int Second, const TClockOrigin& Origin);
  void ForgetPictures();

  std::atomic<bool> FSecondHand{false};
  TClockDrawn FDrawn;
  // At the picture's size: the face (the "back" with the hour and minute
  // hands, made anew once a minute) and the glass ("over"); a tick only
  // blends the second hand and the glass onto the face.
  TBitmap FFace;
  TBitmap FGlass;
  TSize FSourceSize;  // the package's face
  TBitmap FSecondSource;
  std::array<std::unique_ptr<THand>, 60> FHands;
  TRect FHandBox;  // where the hand shown stands
  // The picture last shown: each tick puts the face back only where the hand
  // was and is, and blends hand and glass there.
  TBitmap FWork;
};

class TOvCalendar : public TOvModule {
 public:
  using TOvModule::TOvModule;
  String GetModuleName() const override { return kModules[omkCalendar].Name; }
  int GetInterval() override { return CalendarInterval(LocalNow()); }
  WideString GetHint() override;

 protected:
  bool Compose(bool Force) override;

 private:
  int FDay = -1, FMonth = -1;
};

class TOvRecycleBin : public TOvModule {
 public:
  // The fixed drives are asked for once, here.
  explicit TOvRecycleBin(String ResourceDir);
  String GetModuleName() const override { return kModules[omkRecycleBin].Name; }
  WideString GetHint() override;
  void ExecuteCommand(int Id) override;
  // -1 not drawn yet, 0 empty, 1 full.
  int ShownState() const { return FShown.load(); }

 protected:
  bool Compose(bool Force) override;
  void AddMenuEntries(std::vector<TOvModuleMenuEntry>& Entries) override;

 private:
  const std::vector<String> FRoots;
  std::atomic<std::int64_t> FCount{0}, FSize{0};
  std::atomic<int> FShown{-1};
};

class TOvBattery : public TOvModule {
 public:
  using TOvModule::TOvModule;
  String GetModuleName() const override { return kModules[omkBattery].Name; }
  WideString GetHint() override;

 protected:
  bool Compose(bool Force) override;

 private:
  String FLastImage;
  std::atomic<std::uint32_t> FStatus{0xFFFFFF};  // the power status, packed
};

// A new module of that kind (its slot), or nil.
std::unique_ptr<TOvModule> NewModule(int Kind, const String& ResourceDir);
