// The control classes: TControl (bounds, parent, alignment, visibility, mouse),
// TWinControl (a window of its own, made when first needed; children, keyboard
// and focus), TGraphicControl (no window: its parent paints it and hands it the
// mouse) and TCustomControl (a window with a Canvas and Paint).
//
// Messages: one window procedure serves every window of ours. It hands each
// message as a TMessage to the control's virtual WndProc, which subclasses
// override and chain (call the base for what they do not take). The base
// WndProc ends in Dispatch: a handler bound to the message number with
// SetMessageHandler runs if there is one, else DispatchDefault, the class's
// own handling (mouse, keys, painting…), which ends in DefaultHandler (the
// system's default for windows). No exception leaves the window procedure: it
// goes to Application->HandleException.
//
// Freeing a control from inside one of its own handlers is not allowed: queue
// it with ReleaseComponent (deferred_release.h) and the message loop frees it
// once the handler has returned.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/actions.h"
#include "platform/bitmap.h"
#include "platform/canvas_win.h"
#include "platform/component.h"
#include "platform/controls_types.h"
#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/messages_win.h"
#include "platform/winapi_win.h"

class TWinControl;
class TCustomForm;
class TControl;

// The window procedure of every window of ours.
LRESULT CALLBACK OrvWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

// A canvas on a control's window (a graphic control's: on its parent's, moved
// to the control's origin and clipped to it). During painting it draws on the
// paint's device context; outside painting it takes a DC of the window when
// first used and gives it back after the current message.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* Control) : FControl(Control) {}
  ~TControlCanvas() override;
  // Gives a DC taken by the canvas itself back to the window.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HWND FWindow = nullptr;  // the window the DC came from, nullptr when the DC is not ours
  HDC FOwnDC = nullptr;
};

// Gives back every DC that control canvases took outside painting. The window
// procedure calls it after each message; code outside messages may call it too.
void FreeDeviceContexts();

// Whether one of our window procedures, or a modal loop, is running below the
// caller: components queued for release wait until it is not.
bool InMessageHandler();
// Marks such a stretch (window procedures and ShowModal hold one).
class TMessageHandlerScope {
 public:
  TMessageHandlerScope();
  ~TMessageHandlerScope();
  TMessageHandlerScope(const TMessageHandlerScope&) = delete;
  TMessageHandlerScope& operator=(const TMessageHandlerScope&) = delete;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- Bounds: in the parent's client coordinates; a form's on the screen.
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // A change of size realigns the control's children and fires OnResize; a
  // change of an aligned control realigns its parent.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // (0, 0, ClientWidth, ClientHeight): the area inside the borders.
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(int AWidth, int AHeight);
  // The screen position of the client area's top left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& Point) { return Point + ClientOrigin(); }
  TPoint ScreenToClient(const TPoint& Point) { return Point - ClientOrigin(); }

  // ---- Place among the controls.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  // To the top (drawn last, hit first) or the bottom of the parent's children;
  // a form to the top or bottom of the windows on the screen.
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }

  // ---- State.
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  virtual void Show() { SetVisible(true); }
  virtual void Hide() { SetVisible(false); }
  // Visible, and so are all its parents.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  // The control's own font; with ParentFont (the default) it follows the
  // parent's, until the control's font is changed.
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont& Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  // A window of a system class holds its text itself (an edit field's): read from it.
  WideString Caption() const { return GetText(); }
  void SetCaption(const WideString& Value);
  WideString Text() const { return GetText(); }
  void SetText(const WideString& Value) { SetCaption(Value); }
  const WideString& Hint() const { return FHint; }
  void SetHint(const WideString& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }

  // ---- Painting.
  virtual void Invalidate();
  // Paints what is invalid now, without waiting for the message loop.
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  void Refresh() { Repaint(); }

  // ---- Mouse capture: all mouse messages go to this control while it holds it.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // ---- Messages.
  // Sends the message straight to WndProc (not through the system) and returns Result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  // Binds Handler to a message number; it runs instead of the class's own
  // handling of that number (DispatchDefault), which it may call itself. An
  // empty handler removes the binding.
  void SetMessageHandler(UINT Msg, TMessageHandler Handler);

  // ---- Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;

  // ---- Action: a click executes it unless OnClick is set; the control takes
  // its caption, hint, enabled and visible state when set and, through its
  // link, each later change of a property the control still shows unchanged.
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);
  TBasicActionLink* ActionLink() const { return FActionLink.get(); }
  // While the program idles (TCustomForm::UpdateActions): the action's OnUpdate.
  virtual void InitiateAction();

 protected:
  // The action was set or changed: its caption, hint, enabled and visible
  // state. With CheckDefaults only where the control still has its default
  // (a caption that is empty or its Name, an empty hint, enabled, visible).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link this kind of control holds its action by (TControlActionLink).
  virtual std::unique_ptr<TBasicActionLink> CreateActionLink();

  // Mouse, in the order the class library calls them: a left press gives
  // MouseDown; the release over the control that was pressed gives Click, then
  // MouseUp; a double click gives DblClick, then MouseDown with ssDouble (with
  // csDoubleClicks; without it the second press is a plain MouseDown).
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // OnMouseWheel, then (not handled) OnMouseWheelDown or OnMouseWheelUp once per
  // full notch (WHEEL_DELTA) of WheelDelta; returns whether it was handled.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  // A wheel message: the form hands it to its active control, which offers it
  // to DoMouseWheel of itself and then of each parent up to the form.
  virtual void MouseWheelHandler(TMessage& Message);
  // Offers a wheel message to Start's DoMouseWheel, then to each parent's.
  static void MouseWheelChain(TControl* Start, TMessage& Message);
  virtual void Resize();
  // The parent's size changed and its aligned children are placed already:
  // a child that keeps a share of its parent (a relative splitter) follows here.
  virtual void ParentResized() {}

  // Bound handler, else DispatchDefault.
  void Dispatch(TMessage& Message);
  virtual void DispatchDefault(TMessage& Message);
  // What happens to a message nobody took: nothing here; the system's default for windows.
  virtual void DefaultHandler(TMessage& Message);

  // Called after the property changed.
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void ColorChanged();
  virtual void FontChanged();
  virtual void TextChanged();
  virtual WideString GetText() const { return FCaption; }
  virtual void SetZOrder(bool TopMost);
  // Asks the parent to arrange its aligned children again, this one first.
  void RequestAlign();
  // Runs after the bounds changed (OldBounds: before): realignment and OnResize.
  virtual void BoundsChanged(const TRect& OldBounds);
  // Invalidates Rect (client coordinates) of this control.
  virtual void InvalidateRect(const TRect& Rect);

 private:
  friend class TWinControl;
  friend class TControlCanvas;
  void HandleMouseMessage(TMessage& Message);
  void ParentFontChanged();
  void ParentColorChanged();

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  // The parent's colour until the control (or a dialog) sets one; fields
  // and lists set the window colour in their own constructors.
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FFontFromParent = false;  // the font is being set from the parent's: not the user's change
  WideString FCaption;
  WideString FHint;
  bool FShowHint = false;
  TCursor FCursor = crDefault;
  TControlStyle FControlStyle;
  bool FClicked = false;  // a left press began on this control
  int FWheelAccumulator = 0;
  std::map<UINT, TMessageHandler> FMessageHandlers;
  std::unique_ptr<TBasicActionLink> FActionLink;
};

// A control's link to its action: the control is linked in a property while
// it shows the action's value of it, and then takes the action's changes.
class TControlActionLink : public TBasicActionLink {
 public:
  explicit TControlActionLink(TControl* Client) : FClient(Client) {}
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  void SetCaption(const WideString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const WideString& Value) override;
  void SetVisible(bool Value) override;

 private:
  TControl* FClient;
};

// How a window is made: filled by CreateParams before the window is created.
struct TCreateParams {
  WideString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;  // the parent window of a child, the owner of a top-level window
  UINT ClassStyle = CS_DBLCLKS;
  WideString WinClassName;  // registered on first use with our window procedure
  // The system class (such as "LISTBOX") the window is made from, empty for
  // our own: WinClassName is then its copy (syswindow_win.h).
  WideString SysClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  // Frees the child controls first (as the class library does), then the window.
  ~TWinControl() override;

  // ---- The window: made on first use, with its parent's first.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { (void)Handle(); }
  // Destroys the window and, if it existed, makes it anew (after a change of
  // CreateParams, such as a form's BorderStyle).
  void RecreateWnd();
  // The system class's procedure of a window made from a system class
  // (CreateSubClass), nullptr for our own windows. Set from the first CreateWnd.
  WNDPROC DefWndProc() const { return FDefWndProc; }

  // ---- Children, in their order: painting goes first to last, hits last to first.
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;
  // Control is this one, a child, a child's child…
  bool ContainsControl(const TControl* Control) const;
  // The topmost visible child (enabled unless AllowDisabled) at Pos (client
  // coordinates); windowed children lie above the graphic ones.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled = false, bool AllowWinControls = true) const;

  // ---- Alignment of the children.
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  // The arrangement skipped while disabled runs at the last EnableAlign.
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }

  // ---- Focus.
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // The place among the parent's windowed controls that Tab walks: the order
  // they were put there, apart from the z-order (BringToFront leaves it).
  int TabOrder() const;
  void SetTabOrder(int Value);
  // Every windowed control inside this one in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  // Showing and enabled, up to its form.
  virtual bool CanFocus() const;
  bool Focused() const;
  // EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();

  // ---- Painting: the client area is drawn into this 32-bit bitmap, then copied
  // to the screen in one step. It holds the picture of the last paint.
  TBitmap* PaintBuffer() const { return FPaintBuffer.get(); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void Invalidate() override;
  void Update() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  // Enter or Escape that this control does not want goes to its form's FormDialogKey.
  bool HandDialogKeyToForm(const TMessage& Message);
  virtual void CreateParams(TCreateParams& Params);
  // Called by CreateParams of a control whose window is one of the system's
  // ClassName ("EDIT", "COMBOBOX", "SysListView32"…): the system class then does
  // the painting and whatever else the control leaves to DefaultHandler, and
  // takes the control's font. Such controls should leave csCaptureMouse out of
  // ControlStyle (the system class captures the mouse itself).
  void CreateSubClass(TCreateParams& Params, const WideString& ClassName);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  void CreateHandle();
  // The windows of the children go first.
  void DestroyHandle();

  // Places the aligned children inside Rect (the client rect after
  // AdjustClientRect); AControl is the child whose change asked for it.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The part of the client area that aligned children share (a panel takes its borders off).
  virtual void AdjustClientRect(TRect& Rect);
  // A child came, went, moved, was sized, shown or hidden (a scroll box
  // follows the extent of its children).
  virtual void ControlChanged(TControl* Control) { (void)Control; }

  // Keys: the form sees them first when its KeyPreview is set; a handler that
  // sets Key to 0 consumes the key, and nothing further happens with it.
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(WideChar& Key);
  virtual void DoEnter();
  virtual void DoExit();

  // Draws the control itself into DC (the off-screen picture): here the
  // background in Color; TCustomControl and forms call Paint.
  virtual void PaintWindow(HDC DC);
  // Draws the visible graphic children into DC, each at its place and clipped to it.
  void PaintControls(HDC DC);

  void WndProc(TMessage& Message) override;
  // Also: the notifications of system children go to the child concerned as
  // CN_… messages; their default is the system's answer to the notification
  // (for CN_CTLCOLOR…: the control's Font colour on its Color).
  void DispatchDefault(TMessage& Message) override;
  // The system class's procedure, or DefWindowProcW.
  void DefaultHandler(TMessage& Message) override;
  WideString GetText() const override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  void TextChanged() override;
  void SetZOrder(bool TopMost) override;
  void BoundsChanged(const TRect& OldBounds) override;
  void InvalidateRect(const TRect& Rect) override;

  // The system changed the window's place or size: bring the bounds in line.
  void UpdateBounds();
  // The window's bounds as the system has them (in the parent's client coordinates).
  TRect WindowBounds() const;

 private:
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT CALLBACK OrvWindowProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);
  void AlignFor(TControl* AControl);
  // Mouse messages over a graphic child (or captured by one) go to it.
  bool ForwardMouseToChild(TMessage& Message);
  void TrackMouse(const TMessage& Message);
  void DoPaint();
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  void FocusEntered();
  void ShowingChanged();
  bool ReflectNotification(TMessage& Message);
  void DefaultNotification(TMessage& Message);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::unique_ptr<TBrush> FBrush;  // the background handed out for CN_CTLCOLOR…
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  int FAlignLevel = 0;
  bool FAlignPending = false;
  bool FAligning = false;
  bool FTabStop = false;
  bool FMouseInClient = false;
  TControl* FMouseControl = nullptr;  // the graphic child under the mouse
  std::unique_ptr<TBitmap> FPaintBuffer;
};

// A control without a window: its parent paints it (Paint on Canvas, after the
// parent's own painting) and hands it the mouse messages over its area.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}

 private:
  friend class TWinControl;
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A window that paints itself: Paint draws on Canvas, which during painting
// is the off-screen picture (PaintBuffer). Without csOpaque the picture is
// first filled with Color.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The form a control is on (the top of its parent chain when that is a form), or nullptr.
TCustomForm* GetParentForm(const TControl* Control);

// The control holding the mouse capture, or nullptr; setting nullptr releases it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// The shift state of a key message's LParam (with the keyboard's Shift and Ctrl)
// and of a mouse message's WParam.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeysToShiftState(WPARAM Keys);

// The control that owns the window, or nullptr for a window that is not ours.
TWinControl* FindControl(HWND Window);
