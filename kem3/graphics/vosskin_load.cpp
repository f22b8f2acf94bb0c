// Loading one layout of a skin definition into TVosSkin: the sections in their
// fixed order, names resolved as they are read, pictures cut into parts and
// the corner masks made into regions.
#include <algorithm>
#include <set>

#include "kem3/framework/kemxml.h"
#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinpixels.h"
#include "kem3/pictures/kemimage.h"
#include "platform/files.h"
#include "platform/sysutils.h"

namespace {

// A [base] chain longer than this is cut off: it can only be a mistake.
constexpr int kMaxBaseDepth = 16;

constexpr const char* kPartNames[8] = {"upperleftcorner", "upperrightcorner", "lowerleftcorner", "lowerrightcorner",
                                       "upperedge",       "loweredge",        "leftedge",        "rightedge"};

String Attr(const TKemXmlTag* Tag, const char* Path, const char* Name, const String& Default = String()) {
  if (!Tag) return Default;
  const TKemXmlTag* t = *Path ? Tag->FindPath(Path) : Tag;
  return t ? t->ReadAttr(Name, Default) : Default;
}

int IntAttr(const TKemXmlTag* Tag, const char* Path, const char* Name, int Default) {
  const String text = Attr(Tag, Path, Name, "\x01");
  return text == "\x01" ? Default : VosReadInt(text, Default);
}

// The element children of a tag (comments and other constructs left out).
std::vector<TKemXmlTag*> Elements(const TKemXmlTag* Tag) {
  std::vector<TKemXmlTag*> out;
  if (!Tag) return out;
  for (int i = 0; i < Tag->GetChildCount(); ++i) {
    TKemXmlTag* c = Tag->GetChild(i);
    if (!c->IsComment() && !c->Name.empty() && c->Name[0] != '?' && c->Name[0] != '!') out.push_back(c);
  }
  return out;
}

// The picture of a file of the skin, or nil when it is missing or cannot be read.
std::unique_ptr<TBitmap> LoadPicture(const String& Dir, const String& Name) {
  if (Name.empty()) return nullptr;
  const String file = Dir + Name;
  if (!FileExists(file)) return nullptr;
  auto picture = std::make_unique<TBitmap>();
  try {
    LoadBitmapFromFile(*picture, file);
    VosNormalizePicture(*picture);
  } catch (const Exception&) {
    return nullptr;
  }
  if (picture->Empty()) return nullptr;
  return picture;
}

}  // namespace

class TVosSkinLoader {
 public:
  TVosSkinLoader(TVosSkin& Skin, const TKemXmlTag* Root) : S(Skin), FRoot(Root), FDir(Skin.GetSkinDir()) {}

  void LoadLayout(const String& Id, int Depth) {
    if (Depth >= kMaxBaseDepth || !FVisited.insert(UpperCase(Id)).second) return;
    if (Id.empty() || Id.find('.') != String::npos) return;
    const TKemXmlTag* layout = FRoot->FindPath("layout." + Id);
    if (!layout) return;
    const String base = layout->ReadAttr("base");
    if (!base.empty()) LoadLayout(base, Depth + 1);
    ReadTextures(layout->FindPath("textures"));
    ReadBorders(layout->FindPath("borders"));
    ReadGlyphs(layout->FindPath("glyphs"));
    ReadForms(layout->FindPath("forms"));
    ReadMenus(layout->FindPath("menus"));
    ReadButtons(layout->FindPath("buttons"));
    ReadKnobs(layout->FindPath("knobs"));
    ReadContainers(layout->FindPath("containers"));
    ReadWindows(layout->FindPath("windows"));
    ReadMenuLook(layout);
  }

 private:
  // ---- Name lookups: a name not found keeps the default.
  int TextureIndex(const String& Name, int Default) const {
    const int i = S.IndexOfTexture(Name);
    return i >= 0 ? i : Default;
  }
  int BorderIndex(const String& Name, int Default) const {
    const int i = S.IndexOfBorder(Name);
    return i >= 0 ? i : Default;
  }
  int GlyphIndex(const String& Name, int Default) const {
    const int i = S.IndexOfGlyph(Name);
    return i >= 0 ? i : Default;
  }
  int ButtonIndex(const String& Name, int Default) const {
    const int i = S.IndexOfButton(Name);
    return i >= 0 ? i : Default;
  }
  int TextureAttr(const TKemXmlTag* Tag, const char* Path, const char* Name, int Default) const {
    return TextureIndex(Attr(Tag, Path, Name), Default);
  }
  int BorderAttr(const TKemXmlTag* Tag, const char* Path, const char* Name, int Default) const {
    return BorderIndex(Attr(Tag, Path, Name), Default);
  }
  int GlyphAttr(const TKemXmlTag* Tag, const char* Path, const char* Name, int Default) const {
    return GlyphIndex(Attr(Tag, Path, Name), Default);
  }

  // ---- Sections.
  void ReadTextures(const TKemXmlTag* Section) {
    for (const TKemXmlTag* t : Elements(Section)) {
      auto texture = std::make_unique<TVosTexture>();
      texture->Name = t->ReadAttr("name");
      texture->Color = VosReadColorRGB(Attr(t, "color", "value"));
      // Any stretch value but "0" is on (a missing one is off).
      texture->StretchWidth = Attr(t, "stretch", "width", "0") != "0";
      texture->StretchHeight = Attr(t, "stretch", "height", "0") != "0";
      texture->Image = LoadPicture(FDir, Attr(t, "file", "name"));
      for (int slot = 0; slot < S.FCacheSlotCount; ++slot)
        texture->Cache.push_back(texture->Image ? std::make_unique<TBitmap>() : nullptr);
      S.FTextures.push_back(std::move(texture));
    }
  }

  // An eight-part frame from its element; Masks builds the corner regions.
  void ReadFrame(const TKemXmlTag* Element, TVosFrame& Frame, bool Masks) {
    if (!Element) return;
    std::unique_ptr<TBitmap> picture = LoadPicture(FDir, Attr(Element, "file", "name"));
    std::array<TSize, 8> sizes;
    for (size_t i = 0; i < 8; ++i) {
      sizes[i] = {std::max(IntAttr(Element, kPartNames[i], "width", 0), 0),
                  std::max(IntAttr(Element, kPartNames[i], "height", 0), 0)};
      Frame[i].Stretch = VosReadFlag(Attr(Element, kPartNames[i], "stretch"));
    }
    if (!picture) return;
    for (size_t i = 0; i < 8; ++i) {
      TVosSkinPart& part = Frame[i];
      const TRect wanted = VosPartSourceRect(static_cast<int>(i), picture->Width(), picture->Height(), sizes);
      part.Bitmap = VosCopyRect(*picture, wanted);
      part.Width = part.Bitmap ? part.Bitmap->Width() : 0;
      part.Height = part.Bitmap ? part.Bitmap->Height() : 0;
      if (!Masks || i >= 4 || !part.Bitmap) continue;
      part.Outside = TVosRegion::FromColor(*part.Bitmap, kVosOutsideColor);
      part.ShowThrough = TVosRegion::FromColor(*part.Bitmap, kVosShowThroughColor);
      part.NoShowThrough = part.ShowThrough.Empty();
    }
  }

  void ReadBorders(const TKemXmlTag* Section) {
    for (const TKemXmlTag* b : Elements(Section)) {
      auto border = std::make_unique<TVosBorder>();
      border->Name = b->ReadAttr("name");
      const TKemXmlTag* image = b->FindPath("image");
      const TKemXmlTag* shadow = b->FindPath("shadow");
      const TKemXmlTag* highlight = b->FindPath("highlight");
      ReadFrame(image, border->Image, true);
      ReadFrame(shadow, border->Shadow, true);
      ReadFrame(highlight, border->Highlight, true);
      border->HasImage = image != nullptr;
      border->HasShadow = shadow != nullptr;
      border->HasHighlight = highlight != nullptr;
      S.FBorders.push_back(std::move(border));
    }
  }

  std::unique_ptr<TBitmap> ReadGlyphPicture(const TKemXmlTag* Element) {
    if (!Element) return nullptr;
    std::unique_ptr<TBitmap> picture = LoadPicture(FDir, Attr(Element, "file", "name"));
    if (!picture) return nullptr;
    const int w = IntAttr(Element, "file", "width", -1), h = IntAttr(Element, "file", "height", -1);
    if (w < 0 || h < 0) return picture;
    return VosCopyRect(*picture,
                       Bounds(IntAttr(Element, "file", "offsetx", 0), IntAttr(Element, "file", "offsety", 0), w, h));
  }

  void ReadGlyphs(const TKemXmlTag* Section) {
    for (const TKemXmlTag* g : Elements(Section)) {
      auto glyph = std::make_unique<TVosGlyph>();
      glyph->Name = g->ReadAttr("name");
      glyph->Index = IntAttr(g, "", "index", 0);
      glyph->Image = ReadGlyphPicture(g->FindPath("image"));
      glyph->Shadow = ReadGlyphPicture(g->FindPath("shadow"));
      glyph->Highlight = ReadGlyphPicture(g->FindPath("highlight"));
      S.FGlyphs.push_back(std::move(glyph));
    }
  }

  void ReadForms(const TKemXmlTag* Section) {
    for (const TKemXmlTag* f : Elements(Section)) {
      auto frame = std::make_unique<TVosFrame>();
      auto grips = std::make_unique<TVosGrips>();
      ReadFrame(f->FindPath("frame"), *frame, true);
      if (const TKemXmlTag* g = f->FindPath("grips")) {
        std::unique_ptr<TBitmap> picture = LoadPicture(FDir, Attr(g, "file", "name"));
        for (size_t i = 0; i < 4; ++i) {
          TVosSkinGrip& grip = (*grips)[i];
          grip.Width = std::max(IntAttr(g, kPartNames[i], "width", 0), 0);
          grip.Height = std::max(IntAttr(g, kPartNames[i], "height", 0), 0);
          if (!picture) continue;
          const TPoint at =
              VosCornerPosition(static_cast<int>(i), picture->Width(), picture->Height(), grip.Width, grip.Height);
          std::unique_ptr<TBitmap> piece = VosCopyRect(*picture, Bounds(at.X, at.Y, grip.Width, grip.Height));
          // The mask colour is written blue-green-red, as it stands; missing is
          // black, and a colour that is none grips nowhere.
          const TColor mask = VosReadColorBGR(Attr(g, kPartNames[i], "maskcolor", "000000"));
          if (piece && mask != clNone) grip.Region = TVosRegion::FromColor(*piece, mask);
        }
      }
      S.FFormNames.push_back(f->ReadAttr("name"));
      S.FFormFrames.push_back(std::move(frame));
      S.FFormGrips.push_back(std::move(grips));
    }
  }

  void ReadMenus(const TKemXmlTag* Section) {
    for (const TKemXmlTag* m : Elements(Section)) {
      auto frame = std::make_unique<TVosFrame>();
      auto shadow = std::make_unique<TVosFrame>();
      ReadFrame(m->FindPath("frame"), *frame, true);
      ReadFrame(m->FindPath("shadow"), *shadow, false);
      S.FMenuNames.push_back(m->ReadAttr("name"));
      S.FMenuFrames.push_back(std::move(frame));
      S.FMenuShadows.push_back(std::move(shadow));
    }
  }

  void ReadButtons(const TKemXmlTag* Section) {
    for (const TKemXmlTag* b : Elements(Section)) {
      TVosSkinButton button;
      button.Name = b->ReadAttr("name");
      button.Index = IntAttr(b, "", "index", 0);
      button.Normal = GlyphAttr(b, "", "normal", 0);
      button.Pressed = GlyphAttr(b, "", "pressed", 0);
      button.Over = GlyphAttr(b, "", "over", -1);
      button.Gray = GlyphAttr(b, "", "gray", -1);
      button.Down = GlyphAttr(b, "", "down", -1);
      S.FButtons.push_back(button);
    }
  }

  void ReadKnobs(const TKemXmlTag* Section) {
    for (const TKemXmlTag* k : Elements(Section)) {
      TVosSkinKnob knob;
      knob.Name = k->ReadAttr("name");
      knob.Index = IntAttr(k, "", "index", 0);
      knob.Normal = GlyphAttr(k, "", "normal", 0);
      knob.Pressed = GlyphAttr(k, "", "pressed", 0);
      knob.Over = GlyphAttr(k, "", "over", -1);
      knob.Grip = ButtonIndex(k->ReadAttr("grip"), -1);
      knob.Radius = IntAttr(k, "", "radius", 0);
      S.FKnobs.push_back(knob);
    }
  }

  void ReadContainers(const TKemXmlTag* Section) {
    if (!Section) return;
    S.FContainers.clear();
    for (const TKemXmlTag* group : Elements(Section)) {
      TVosContainerGroup slots;
      for (const TKemXmlTag* s : Elements(group)) {
        TVosSlot slot;
        slot.Id = s->ReadAttr("id");
        slot.Left = IntAttr(s, "", "left", 0);
        slot.Top = IntAttr(s, "", "top", 0);
        slot.Right = IntAttr(s, "", "right", 0);
        slot.Bottom = IntAttr(s, "", "bottom", 0);
        slot.CenterX = VosReadFlag(s->ReadAttr("centerx"));
        slot.CenterY = VosReadFlag(s->ReadAttr("centery"));
        slot.Width = IntAttr(s, "", "width", 0);
        slot.Height = IntAttr(s, "", "height", 0);
        slot.MinWidth = IntAttr(s, "", "minwidth", 0);
        slot.MinHeight = IntAttr(s, "", "minheight", 0);
        slots.push_back(slot);
      }
      S.FContainers.push_back(std::move(slots));
    }
  }

  // ---- Window records.
  static TVosIndents Indents(const TKemXmlTag* Tag, const char* Path) {
    return {IntAttr(Tag, Path, "left", 0), IntAttr(Tag, Path, "top", 0), IntAttr(Tag, Path, "right", 0),
            IntAttr(Tag, Path, "bottom", 0)};
  }

  static TVosSkinFont Font(const TKemXmlTag* Element) {
    TVosSkinFont f;
    const TKemXmlTag* t = Element ? Element->FindPath("font") : nullptr;
    if (!t) return f;
    f.Name = t->ReadAttr("name", "Arial");
    f.Size = std::clamp(IntAttr(t, "", "size", 10), 1, 512);
    f.Style = VosReadFontStyle(t->ReadAttr("style"));
    f.Smooth = std::clamp(IntAttr(t, "", "smooth", 1), 1, 8);
    f.Scale = std::clamp(IntAttr(t, "", "scale", 1), 1, 8);
    f.LineHeight = std::clamp(IntAttr(t, "", "lineheight", 0), -256, 256);
    return f;
  }

  static TVosSkinText Text(const TKemXmlTag* Element, const char* Path, const char* Name, const TVosSkinText& Default) {
    const String text = Attr(Element, Path, Name, "\x01");
    return text == "\x01" ? Default : VosParseTextDrawing(text);
  }

  // Indent, border[normal], texture and textureback of an element.
  void ReadElement(const TKemXmlTag* Tag, TVosElement& E) const {
    if (!Tag) return;
    E.Indent = Indents(Tag, "indent");
    E.Border = BorderAttr(Tag, "border", "normal", -1);
    E.Texture = TextureAttr(Tag, "", "texture", 0);
    E.TextureBack = TextureAttr(Tag, "", "textureback", E.Texture);
  }

  void ReadWindow(const TKemXmlTag* W, TVosWindowRecord& R) {
    R.Id = W->ReadAttr("id");
    if (const TKemXmlTag* form = W->FindPath("form")) {
      R.FormFrame = std::max(S.IndexOfForm(form->ReadAttr("frame")), 0);
      R.FormTexture = TextureAttr(form, "", "texture", 0);
      R.MinWidth = IntAttr(form, "size", "minwidth", -1);
      R.MinHeight = IntAttr(form, "size", "minheight", -1);
      R.MaxWidth = IntAttr(form, "size", "maxwidth", -1);
      R.MaxHeight = IntAttr(form, "size", "maxheight", -1);
      R.FrameWidth = std::max(IntAttr(form, "frame", "width", 4), 0);
      R.FrameHeight = std::max(IntAttr(form, "frame", "height", 4), 0);
    }
    if (const TKemXmlTag* c = W->FindPath("form.caption")) {
      ReadElement(c, R.Caption);
      R.CaptionFont = Font(c);
      R.CaptionText = Text(c, "text", "normal", R.CaptionText);
      R.CaptionTextNoFocus = Text(c, "text", "nofocus", R.CaptionTextNoFocus);
    }
    R.IconTexture = TextureAttr(W, "form.icon", "texture", 0);
    ReadElement(W->FindPath("panellist"), R.PanelList);
    if (const TKemXmlTag* s = W->FindPath("panellist.scrollbar")) {
      const char* kinds[2] = {"horizontal", "vertical"};
      for (size_t k = 0; k < 2; ++k) {
        R.ScrollWidth[k] = IntAttr(s, kinds[k], "width", -1);
        R.ScrollHeight[k] = IntAttr(s, kinds[k], "height", -1);
        R.ScrollSlider[k] = BorderAttr(s, kinds[k], "slider", -1);
        R.ScrollBackground[k] = BorderAttr(s, kinds[k], "background", -1);
      }
      R.ScrollButtons = {ButtonIndex(Attr(s, "horizontal", "left"), -1),
                         ButtonIndex(Attr(s, "horizontal", "right"), -1), ButtonIndex(Attr(s, "vertical", "top"), -1),
                         ButtonIndex(Attr(s, "vertical", "bottom"), -1)};
    }
    if (const TKemXmlTag* i = W->FindPath("panellist.item")) {
      R.ItemIndent = Indents(i, "indent");
      R.ItemBorderNormal = BorderAttr(i, "border", "normal", -1);
      R.ItemBorderSelected = BorderAttr(i, "border", "selected", -1);
      R.ItemBorderMarked = BorderAttr(i, "border", "marked", -1);
      R.ItemBorderOver = BorderAttr(i, "border", "over", -1);
      R.ItemTextureNormal = TextureAttr(i, "texture", "normal", -1);
      R.ItemTextureSelected = TextureAttr(i, "texture", "selected", -1);
      R.ItemTextureOdd = TextureAttr(i, "texture", "odd", -1);
      R.ItemTextureSelectOdd = TextureAttr(i, "texture", "selectodd", -1);
      R.ItemTextureMarked = TextureAttr(i, "texture", "marked", -1);
      R.ItemTextureOver = TextureAttr(i, "texture", "over", -1);
      R.ItemSpaceLeft = IntAttr(i, "space", "left", 8);
      R.ItemSpaceTop = IntAttr(i, "space", "top", 8);
      R.ItemSpaceRight = IntAttr(i, "space", "right", 8);
      R.ItemSpaceBottom = IntAttr(i, "space", "bottom", 8);
      R.ItemSpaceHorizontal = IntAttr(i, "space", "horizontal", 8);
      R.ItemSpaceVertical = IntAttr(i, "space", "vertical", 8);
      R.ItemFadeWidth = IntAttr(i, "fade", "width", 0);
    }
    if (const TKemXmlTag* t = W->FindPath("panellist.item.text")) {
      R.ItemFont = Font(t);
      R.ItemFont.LineHeight = std::clamp(IntAttr(t, "font", "lineheight", 0), -256, 256);
      R.ItemTextNormal = Text(t, "enabled", "normal", R.ItemTextNormal);
      R.ItemTextOver = Text(t, "enabled", "over", R.ItemTextOver);
      R.ItemTextDown = Text(t, "enabled", "down", R.ItemTextDown);
      R.ItemTextDisabled = Text(t, "disabled", "normal", R.ItemTextDisabled);
      // A missing marked drawing is the over one.
      R.ItemTextMarked = Text(t, "enabled", "marked", R.ItemTextOver);
    }
    ReadElement(W->FindPath("buttonset"), R.ButtonSet);
    if (const TKemXmlTag* i = W->FindPath("buttonset.item")) {
      R.SetItemIndent = Indents(i, "indent");
      R.SetItemBorderNormal = BorderAttr(i, "border", "normal", -1);
      R.SetItemBorderSelected = BorderAttr(i, "border", "selected", -1);
      R.SetItemBorderPressed = BorderAttr(i, "border", "pressed", -1);
      R.SetItemTextureNormal = TextureAttr(i, "texture", "normal", -1);
      R.SetItemTextureSelected = TextureAttr(i, "texture", "selected", -1);
      R.SetItemTexturePressed = TextureAttr(i, "texture", "pressed", -1);
    }
    if (const TKemXmlTag* t = W->FindPath("buttonset.item.text")) {
      R.SetItemFont = Font(t);
      R.SetItemTextNormal = Text(t, "enabled", "normal", R.SetItemTextNormal);
      R.SetItemTextPressed = Text(t, "enabled", "pressed", R.SetItemTextPressed);
      R.SetItemTextDown = Text(t, "enabled", "down", R.SetItemTextDown);
      R.SetItemTextDisabled = Text(t, "disabled", "normal", R.SetItemTextDisabled);
    }
    if (const TKemXmlTag* h = W->FindPath("hint")) {
      ReadElement(h, R.Hint);
      R.HintInterior = Indents(h, "interior");
    }
    if (const TKemXmlTag* h = W->FindPath("hint.caption")) {
      R.HintFont = Font(h);
      R.HintText = Text(h, "text", "normal", R.HintText);
    }
    for (const TKemXmlTag* p : W->FindAll("panel")) {
      int index = IntAttr(p, "", "index", 0);
      if (index < 0 || index > 3) index = 0;
      ReadElement(p, R.Panels[static_cast<size_t>(index)]);
    }
    ReadElement(W->FindPath("toolbar"), R.Toolbar);
    if (const TKemXmlTag* i = W->FindPath("toolbar.item")) {
      R.ToolItemBorderNormal = BorderAttr(i, "border", "normal", -1);
      R.ToolItemBorderOver = BorderAttr(i, "border", "over", -1);
      R.ToolItemBorderPressed = BorderAttr(i, "border", "pressed", -1);
      R.ToolItemTextureNormal = TextureAttr(i, "texture", "normal", 0);
      R.ToolItemTextureOver = TextureAttr(i, "texture", "over", 0);
      R.ToolItemTexturePressed = TextureAttr(i, "texture", "pressed", 0);
      R.ToolItemSpaceTop = IntAttr(i, "space", "top", 0);
      R.ToolItemSpaceVertical = IntAttr(i, "space", "vertical", 0);
    }
    if (const TKemXmlTag* t = W->FindPath("toolbar.item.text")) {
      R.ToolItemFont = Font(t);
      R.ToolItemTextNormal = Text(t, "enabled", "normal", R.ToolItemTextNormal);
      R.ToolItemTextOver = Text(t, "enabled", "over", R.ToolItemTextOver);
      R.ToolItemTextDown = Text(t, "enabled", "down", R.ToolItemTextDown);
      R.ToolItemTextDisabled = Text(t, "disabled", "normal", R.ToolItemTextDisabled);
    }
    // Both lists fill the same window buttons; "buttons", read later, replaces.
    for (const char* path : {"toolbar.buttons", "buttons"}) {
      const TKemXmlTag* list = W->FindPath(path);
      if (!list) continue;
      R.Buttons.clear();
      const bool toolbar = path[0] == 't';
      for (const TKemXmlTag* b : Elements(list)) {
        TVosWindowRecord::TWindowButton button;
        button.Id = b->ReadAttr("id");
        button.Button = ButtonIndex(b->ReadAttr("button"), 0);
        button.Texture = toolbar ? R.ToolItemTextureNormal : TextureAttr(b, "", "texture", R.FormTexture);
        R.Buttons.push_back(button);
      }
    }
    if (const TKemXmlTag* t = W->FindPath("tracker")) {
      ReadElement(t, R.Tracker);
      R.TrackerGrip = ButtonIndex(t->ReadAttr("grip"), 0);
    }
    R.SplitterTexture = TextureAttr(W, "splitter", "texture", 0);
    R.SplitterMark = GlyphAttr(W, "splitter", "mark", 0);
    for (const TKemXmlTag* k : Elements(W->FindPath("knobs"))) {
      TVosWindowRecord::TWindowKnob knob;
      knob.Id = k->ReadAttr("id");
      const int i = S.IndexOfKnob(k->ReadAttr("knob"));
      knob.Knob = i >= 0 ? i : 0;
      knob.Texture = TextureAttr(k, "", "texture", R.FormTexture);
      R.Knobs.push_back(knob);
    }
  }

  void ReadWindows(const TKemXmlTag* Section) {
    if (!Section) return;
    const std::vector<TKemXmlTag*> records = Elements(Section);
    S.FWindows.clear();
    S.FWindows.reserve(records.size());
    for (const TKemXmlTag* record : records) ReadWindow(record, S.FWindows.emplace_back());
  }

  void ReadMarks(const TKemXmlTag* Tag, std::array<int, 4>& Marks) {
    if (!Tag) return;
    Marks = {GlyphAttr(Tag, "enabled", "normal", 0), GlyphAttr(Tag, "enabled", "over", 0),
             GlyphAttr(Tag, "disabled", "normal", 0), GlyphAttr(Tag, "disabled", "over", 0)};
  }

  void ReadMenuLook(const TKemXmlTag* Layout) {
    TVosMenuLook& M = S.FMenu;
    if (const TKemXmlTag* menu = Layout->FindPath("menu")) {
      M.Frame = std::max(S.IndexOfMenuFrame(menu->ReadAttr("frame")), 0);
      M.Texture = TextureAttr(menu, "", "texture", 0);
    }
    ReadMarks(Layout->FindPath("menu.marks.submenu"), M.SubmenuMarks);
    ReadMarks(Layout->FindPath("menu.marks.checked"), M.CheckedMarks);
    for (const TKemXmlTag* l : Elements(Layout->FindPath("menu.logos"))) {
      M.Logos.push_back({l->ReadAttr("name"), GlyphAttr(l, "", "glyph", 0), TextureAttr(l, "", "texture", 0)});
    }
    if (const TKemXmlTag* t = Layout->FindPath("menu.shadow")) M.ShadowIndent = Indents(t, "indent");
    if (const TKemXmlTag* t = Layout->FindPath("menu.frame")) M.FrameIndent = Indents(t, "indent");
    if (const TKemXmlTag* t = Layout->FindPath("menu.icon")) M.IconIndent = Indents(t, "indent");
    if (const TKemXmlTag* t = Layout->FindPath("menu.item")) {
      M.ItemIndent = Indents(t, "indent");
      M.ItemBorderNormal = BorderAttr(t, "border", "normal", -1);
      M.ItemBorderOver = BorderAttr(t, "border", "over", -1);
      M.ItemTextureNormal = TextureAttr(t, "texture", "normal", -1);
      M.ItemTextureOver = TextureAttr(t, "texture", "over", -1);
    }
    if (const TKemXmlTag* t = Layout->FindPath("menu.separator")) {
      M.SeparatorIndent = Indents(t, "indent");
      M.SeparatorBorder = BorderAttr(t, "border", "normal", -1);
      M.SeparatorHeight = IntAttr(t, "size", "height", -1);
    }
    if (const TKemXmlTag* t = Layout->FindPath("menu.item.text")) {
      M.TextIndent = Indents(t, "indent");
      M.SpaceShortcut = IntAttr(t, "space", "shortcut", 0);
      M.SpaceChecked = IntAttr(t, "space", "checked", 0);
      M.SpaceSubmenu = IntAttr(t, "space", "submenu", 0);
      M.Font = Font(t);
      M.Texts = {Text(t, "enabled", "normal", M.Texts[0]), Text(t, "enabled", "over", M.Texts[1]),
                 Text(t, "disabled", "normal", M.Texts[2]), Text(t, "disabled", "over", M.Texts[3])};
    }
  }

  TVosSkin& S;
  const TKemXmlTag* FRoot;
  String FDir;
  std::set<String> FVisited;
};

namespace {

// The skin definition's root element; EVosSkin when the file is no skin definition.
const TKemXmlTag* DefinitionRoot(const TKemXml& Document, const String& FileName) {
  const TKemXmlTag* root = Document.Root()->FindPath("vosskindefinition");
  if (!root) throw EVosSkin("\"" + FileName + "\" is not a skin definition (no vosskindefinition element)");
  return root;
}

std::unique_ptr<TKemXml> OpenDefinition(const String& FileName) {
  auto document = std::make_unique<TKemXml>(String(), 0, true);
  document->LoadFromString(ReadFileBytes(FileName));
  return document;
}

}  // namespace

void TVosSkin::Load(const String& LayoutId) {
  if (FDefinitionFile.empty() || !FileExists(FDefinitionFile)) return;
  std::unique_ptr<TKemXml> document = OpenDefinition(FDefinitionFile);
  TVosSkinLoader loader(*this, DefinitionRoot(*document, FDefinitionFile));
  loader.LoadLayout(LayoutId, 0);
}

String TVosSkin::ReadLayoutAttr(const String& LayoutId, const String& Attribute) const {
  if (FDefinitionFile.empty() || !FileExists(FDefinitionFile) || LayoutId.empty()) return String();
  try {
    std::unique_ptr<TKemXml> document = OpenDefinition(FDefinitionFile);
    const TKemXmlTag* layout = DefinitionRoot(*document, FDefinitionFile)->FindPath("layout." + LayoutId);
    return layout ? layout->ReadAttr(Attribute) : String();
  } catch (const Exception&) {
    return String();
  }
}
