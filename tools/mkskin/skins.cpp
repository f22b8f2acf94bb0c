// Our skins: "Slate" (a horizontal bar, with its light layout "Glacier" built
// on the dark one) and "Column" (a vertical bar).
#include "skins.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "skinxml.h"

namespace skin {

namespace {

using art::Rgb;

// ---- Colours as the definition writes them.

int Channel(double V) { return static_cast<int>(std::lround(std::clamp(V, 0.0, 1.0) * 255)); }

// Textures: red, green, blue.
std::string Rgb6(const TColour& C) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", Channel(C.R), Channel(C.G), Channel(C.B));
  return text;
}

// Text drawings: blue, green, red.
std::string Bgr6(const TColour& C) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", Channel(C.B), Channel(C.G), Channel(C.R));
  return text;
}

// Text over a soft shadow one pixel down and right.
std::string ShadowedText(const TColour& Text, const TColour& Shadow) {
  return Bgr6(Shadow) + ",140,(1,1);" + Bgr6(Text) + ",255,(0,0)";
}

std::string PlainText(const TColour& Text, int Alpha = 255) {
  return Bgr6(Text) + "," + std::to_string(Alpha) + ",(0,0)";
}

// ---- Element helpers.

// How far the icon cells' highlight reaches across a cell: icon size and
// spaces at their limits make cells up to 328 pixels wide.
constexpr int kCellReach = 512;

constexpr const char* kParts[8] = {"upperleftcorner", "upperrightcorner", "lowerleftcorner", "lowerrightcorner",
                                   "upperedge",       "loweredge",        "leftedge",        "rightedge"};

struct TPartSizes {
  int CornerW, CornerH;  // all four corners
  int UpperH, LowerH;    // edge thickness
  int LeftW, RightW;
  int EdgeAlong = 1;  // length of the edges' source strips
};

// An eight-part frame element naming File, all edges stretched.
void Frame(TNode& Parent, const std::string& Element, const std::string& File, const TPartSizes& S) {
  TNode& f = Parent.Add(Element);
  f.Add("file", {{"name", File}});
  for (int i = 0; i < 4; ++i)
    f.Add(kParts[i], {{"width", std::to_string(S.CornerW)}, {"height", std::to_string(S.CornerH)}});
  f.Add(kParts[4], {{"width", std::to_string(S.EdgeAlong)}, {"height", std::to_string(S.UpperH)}, {"stretch", "1"}});
  f.Add(kParts[5], {{"width", std::to_string(S.EdgeAlong)}, {"height", std::to_string(S.LowerH)}, {"stretch", "1"}});
  f.Add(kParts[6], {{"width", std::to_string(S.LeftW)}, {"height", std::to_string(S.EdgeAlong)}, {"stretch", "1"}});
  f.Add(kParts[7], {{"width", std::to_string(S.RightW)}, {"height", std::to_string(S.EdgeAlong)}, {"stretch", "1"}});
}

void Indent(TNode& Parent, const std::string& Element, int L, int T, int R, int B) {
  Parent.Add(Element, {{"left", std::to_string(L)},
                       {"top", std::to_string(T)},
                       {"right", std::to_string(R)},
                       {"bottom", std::to_string(B)}});
}

void Font(TNode& Parent, int Size, const std::string& Style = "") {
  TNode& f = Parent.Add("font", {{"name", "Tahoma"}, {"size", std::to_string(Size)}});
  if (!Style.empty()) f.Set("style", Style);
}

void Slot(TNode& Group, const std::string& Id, std::vector<std::pair<std::string, int>> Values) {
  TNode& s = Group.Add("slot", {{"id", Id}});
  for (const auto& [name, value] : Values) s.Set(name, std::to_string(value));
}

// ---- The pieces of a layout: pictures and their elements.

class TLayoutWriter {
 public:
  TLayoutWriter(const TSkinDef& Skin, const TLayoutDef& Layout, const std::string& Dir)
      : FSkin(Skin), FLayout(Layout), P(Layout.Colours), FDir(Dir) {}

  TNode Write() {
    TNode layout{FLayout.Id, {}, {}};
    if (!FLayout.Base.empty()) layout.Set("base", FLayout.Base);
    layout.Set("mode", FSkin.Mode);
    Textures(layout.Add("textures"));
    Borders(layout.Add("borders"));
    Glyphs(layout.Add("glyphs"));
    Forms(layout.Add("forms"));
    Menus(layout.Add("menus"));
    if (FLayout.OwnContainers) Containers(layout.Add("containers"));
    Windows(layout.Add("windows"));
    MenuLook(layout.Add("menu"));
    return layout;
  }

 private:
  std::string Name(const std::string& Base) const { return Base + FLayout.Suffix; }
  std::string File(const std::string& Base) const {
    std::string suffix = FLayout.Suffix;
    for (char& c : suffix)
      if (c == '.') c = '_';
    return Base + suffix + ".png";
  }
  void Save(const TBitmap& Picture, const std::string& FileName) { SavePng(Picture, FDir + "/" + FileName); }

  // The colour of the bar's texture at a point of a Size x Size corner picture.
  art::TPaint Inside(int Size) const {
    const bool vertical = FSkin.Vertical;
    const TPalette& p = P;
    return [vertical, p, Size](double x, double y) {
      const double t = (vertical ? x : y) / Size;
      return t < 0.5 ? p.BackFirst : p.BackLast;
    };
  }

  void Textures(TNode& T) {
    Save(*Gradient(256, FSkin.Vertical, P.BackFirst, P.BackLast), File("back"));
    TNode& back = T.Add("texture", {{"name", Name("back")}});
    back.Add("file", {{"name", File("back")}});
    back.Add("stretch", {{"width", FSkin.Vertical ? "1" : "0"}, {"height", FSkin.Vertical ? "0" : "1"}});
    auto colour = [&](const std::string& N, const TColour& C) {
      T.Add("texture", {{"name", Name(N)}}).Add("color", {{"value", Rgb6(C)}});
    };
    colour("hint.back", P.HintBack);
    colour("menu.back", P.MenuBack);
    colour("menu.logo", P.Logo);
  }

  void Borders(TNode& B) {
    // Icon cells: filled rounded cells. A frame draws no middle, so the left
    // edge reaches across the cell (wider than any cell the icon settings
    // allow) and, stretched down, fills cells of any height; the right edge
    // then lays the cell's right side over it.
    auto cell = [&](const std::string& N, const TColour& Fill, const TColour* Ring) {
      Save(*Pill(kCellReach + 6, 13, 6, Fill, 0.10, Ring), File(N));
      Frame(B.Add("border", {{"name", Name(N)}}), "image", File(N), {6, 6, 6, 6, kCellReach, 6});
    };
    cell("item_over", P.Hover, nullptr);
    cell("item_selected", P.Selected, &P.SelectedRing);
    // The selected group button: a pill across the bar's thickness.
    auto tab = [&](const std::string& N, const TColour& Fill) {
      if (FSkin.Vertical) {
        Save(*Pill(24, 19, 9, Fill, 0.0), File(N));
        Frame(B.Add("border", {{"name", Name(N)}}), "image", File(N), {9, 9, 9, 9, 12, 12});
      } else {
        Save(*Pill(19, 24, 9, Fill, 0.16), File(N));
        Frame(B.Add("border", {{"name", Name(N)}}), "image", File(N), {9, 9, 12, 12, 9, 9});
      }
    };
    tab("tab_selected", P.Tab);
    tab("tab_pressed", P.TabPressed);
    Save(*Pill(7, 7, 3, P.Slider, 0.0), File("slider"));
    Frame(B.Add("border", {{"name", Name("slider")}}), "image", File("slider"), {3, 3, 4, 4, 4, 4});
    Save(*Pill(13, 13, 5, P.HintBack, 0.0, &P.HintRing), File("hint"));
    Frame(B.Add("border", {{"name", Name("hint")}}), "image", File("hint"), {6, 6, 6, 6, 6, 6});
    Save(*Pill(9, 20, 4, P.MenuOver, 0.12), File("menu_over"));
    Frame(B.Add("border", {{"name", Name("menu_over")}}), "image", File("menu_over"), {4, 4, 10, 10, 4, 4});
    Save(*SeparatorLine(art::WithAlpha(P.MenuRing, 0.8), art::Rgb(255, 255, 255, 0.25)), File("separator"));
    Frame(B.Add("border", {{"name", Name("separator")}}), "image", File("separator"), {0, 0, 1, 2, 0, 0, 4});
  }

  void Glyphs(TNode& G) {
    Save(*ArrowGlyph(9, P.MenuText), File("mark_submenu"));
    Save(*ArrowGlyph(9, P.MenuTextOver), File("mark_submenu_over"));
    Save(*CheckGlyph(12, P.MenuText), File("mark_checked"));
    Save(*CheckGlyph(12, P.MenuTextOver), File("mark_checked_over"));
    Save(*LogoGlyph(20, 120, "ORVANEL", art::Rgb(255, 255, 255, 0.9)), File("logo"));
    for (const char* n : {"mark_submenu", "mark_submenu_over", "mark_checked", "mark_checked_over", "logo"})
      G.Add("glyph", {{"name", Name(n)}}).Add("image").Add("file", {{"name", File(n)}});
  }

  void Forms(TNode& F) {
    Save(*KeyedFrame(40, 8, P.RingDark, P.RingLight, Inside(40)), File("frame"));
    TNode& form = F.Add("form", {{"name", Name("main")}});
    Frame(form, "frame", File("frame"), {10, 10, 3, 3, 3, 3});
    // Every pixel of the grip picture has the mask colour: each corner grips whole.
    Save(*Solid(24, 24, Rgb(0, 0, 0)), File("grips"));
    TNode& grips = form.Add("grips");
    grips.Add("file", {{"name", File("grips")}});
    for (int i = 0; i < 4; ++i) grips.Add(kParts[i], {{"width", "8"}, {"height", "8"}, {"maskcolor", "000000"}});
  }

  void Menus(TNode& M) {
    Save(*Pill(24, 24, 6, P.MenuBack, 0.0, &P.MenuRing), File("menu_frame"));
    Save(*SoftShadow(32, 4, 7, 5, 0.45, 2, 3), File("menu_shadow"));
    TNode& menu = M.Add("menu", {{"name", Name("popup")}});
    Frame(menu, "frame", File("menu_frame"), {8, 8, 8, 8, 8, 8, 8});
    Frame(menu, "shadow", File("menu_shadow"), {12, 12, 8, 8, 8, 8, 8});
  }

  void Containers(TNode& C) {
    TNode& g = C.Add("group");
    if (FSkin.Vertical) {
      Slot(g, "icon", {{"centerx", 1}, {"left", 0}, {"width", 16}, {"top", 5}, {"bottom", -21}});
      Slot(g, "caption", {{"left", 5}, {"top", 22}, {"right", 5}, {"bottom", -37}});
      Slot(g, "group", {{"left", 4}, {"top", 40}, {"right", -24}, {"bottom", 6}});
      Slot(g, "client", {{"left", 26}, {"top", 40}, {"right", 5}, {"bottom", 6}});
    } else {
      Slot(g, "icon", {{"left", 8}, {"top", 5}, {"right", -24}, {"bottom", -21}});
      Slot(g, "caption", {{"left", 28}, {"top", 4}, {"right", -190}, {"bottom", -22}});
      Slot(g, "group", {{"left", 194}, {"top", 4}, {"right", 9}, {"bottom", -22}});
      // Down to the frame's edge and a pixel under the caption row: at the
      // bar's first height a cell with two title lines fits above the scroller.
      Slot(g, "client", {{"left", 5}, {"top", 23}, {"right", 5}, {"bottom", 3}});
    }
  }

  // The panel list and its items, shared by the bar and the chooser.
  void PanelList(TNode& W) {
    TNode& list = W.Add("panellist", {{"texture", Name("back")}});
    TNode& bar = list.Add("scrollbar");
    bar.Add("horizontal", {{"width", "0"}, {"height", "6"}, {"slider", Name("slider")}});
    bar.Add("vertical", {{"width", "6"}, {"height", "0"}, {"slider", Name("slider")}});
    TNode& item = list.Add("item");
    Indent(item, "indent", 1, 1, 1, 1);
    item.Add("border",
             {{"over", Name("item_over")}, {"selected", Name("item_selected")}, {"marked", Name("item_selected")}});
    item.Add("space",
             {{"left", "16"}, {"top", "2"}, {"right", "16"}, {"bottom", "2"}, {"horizontal", "6"}, {"vertical", "2"}});
    TNode& text = item.Add("text");
    Font(text, 8);
    text.Add("enabled", {{"normal", ShadowedText(P.Text, P.TextShadow)},
                         {"over", ShadowedText(P.TextStrong, P.TextShadow)},
                         {"down", ShadowedText(P.TextStrong, P.TextShadow)}});
    text.Add("disabled", {{"normal", PlainText(P.TextDim, 160)}});
  }

  void Windows(TNode& Ws) {
    TNode& main = Ws.Add("window", {{"id", "main"}});
    TNode& form = main.Add("form", {{"frame", Name("main")}, {"texture", Name("back")}});
    if (FSkin.Vertical) {
      form.Add("size", {{"minwidth", "72"}, {"minheight", "160"}});
    } else {
      form.Add("size", {{"minwidth", "260"}, {"minheight", "72"}});
    }
    form.Add("frame", {{"width", "4"}, {"height", "4"}});
    TNode& caption = form.Add("caption", {{"texture", Name("back")}});
    Indent(caption, "indent", 1, 0, 2, 0);
    Font(caption, FSkin.Vertical ? 7 : 8, "b");
    caption.Add("text",
                {{"normal", ShadowedText(P.Text, P.TextShadow)}, {"nofocus", ShadowedText(P.TextDim, P.TextShadow)}});
    form.Add("icon", {{"texture", Name("back")}});
    PanelList(main);
    main.Add("buttonset", {{"texture", Name("back")}});
    TNode& set = main.Children.back();
    TNode& setItem = set.Add("item");
    // The item indents frame the caption as it lies on the screen, while a
    // button's length grows by the left and right ones: a vertical bar's
    // turned captions would lose their width across the bar to them.
    if (FSkin.Vertical) {
      Indent(setItem, "indent", 0, 0, 0, 0);
    } else {
      Indent(setItem, "indent", 7, 0, 7, 0);
    }
    setItem.Add("border", {{"selected", Name("tab_selected")}, {"pressed", Name("tab_pressed")}});
    TNode& setText = setItem.Add("text");
    Font(setText, 8);
    setText.Add("enabled", {{"normal", ShadowedText(P.TextDim, P.TextShadow)},
                            {"pressed", PlainText(P.TextStrong)},
                            {"down", PlainText(P.TextStrong)}});
    setText.Add("disabled", {{"normal", PlainText(P.TextDim, 128)}});
    Hint(main);

    TNode& list = Ws.Add("window", {{"id", "list"}});
    TNode& listForm = list.Add("form", {{"frame", Name("main")}, {"texture", Name("back")}});
    listForm.Add("size", {{"minwidth", "120"}, {"minheight", "60"}});
    PanelList(list);
    Hint(list);

    Hint(Ws.Add("window", {{"id", "hint"}}));
  }

  void Hint(TNode& W) {
    TNode& hint = W.Add("hint", {{"texture", Name("hint.back")}});
    Indent(hint, "indent", 8, 5, 8, 5);
    Indent(hint, "interior", 3, 3, 3, 3);
    hint.Add("border", {{"normal", Name("hint")}});
    TNode& caption = hint.Add("caption");
    Font(caption, 8);
    caption.Add("text", {{"normal", PlainText(P.HintText)}});
  }

  void MenuLook(TNode& M) {
    M.Set("frame", Name("popup")).Set("texture", Name("menu.back"));
    TNode& marks = M.Add("marks");
    for (const char* kind : {"submenu", "checked"}) {
      const std::string n = std::string("mark_") + kind;
      TNode& k = marks.Add(kind);
      k.Add("enabled", {{"normal", Name(n)}, {"over", Name(n + "_over")}});
      k.Add("disabled", {{"normal", Name(n)}, {"over", Name(n)}});
    }
    TNode& logos = M.Add("logos");
    for (const char* n : {"main", "align", "icons", "groups", "module"})
      logos.Add("logo", {{"name", n}, {"glyph", Name("logo")}, {"texture", Name("menu.logo")}});
    Indent(M.Add("shadow"), "indent", 0, 0, 5, 6);
    Indent(M.Add("frame"), "indent", 8, 8, 8, 8);
    Indent(M.Add("icon"), "indent", 4, 2, 4, 2);
    TNode& item = M.Add("item");
    Indent(item, "indent", 2, 1, 2, 1);
    item.Add("border", {{"over", Name("menu_over")}});
    TNode& text = item.Add("text");
    Indent(text, "indent", 26, 0, 10, 0);
    text.Add("space", {{"shortcut", "18"}, {"checked", "4"}, {"submenu", "12"}});
    Font(text, 8);
    text.Add("enabled", {{"normal", PlainText(P.MenuText)}, {"over", PlainText(P.MenuTextOver)}});
    text.Add("disabled", {{"normal", PlainText(P.MenuText, 110)}, {"over", PlainText(P.MenuTextOver, 140)}});
    TNode& separator = M.Add("separator");
    Indent(separator, "indent", 6, 2, 6, 3);
    separator.Add("border", {{"normal", Name("separator")}});
    separator.Add("size", {{"height", "7"}});
  }

  const TSkinDef& FSkin;
  const TLayoutDef& FLayout;
  const TPalette& P;
  std::string FDir;
};

// The preview: the bar in miniature, with a few cells and a selected group.
void WritePreview(const TSkinDef& Skin, const TPalette& P, const std::string& FileName) {
  const int w = 160, h = 64;
  art::TArtCanvas c(w, h);
  const bool v = Skin.Vertical;
  const double bl = v ? 56 : 4, bt = v ? 2 : 10, br = v ? 104 : 156, bb = v ? 62 : 54;
  const art::TShape bar = art::RoundRect(bl, bt, br, bb, 6);
  c.FillSoft(art::Translated(bar, 1.5, 2), Rgb(0, 0, 0, 0.35), 3);
  c.Fill(bar, [&](double x, double y) {
    const double t = v ? (x - bl) / (br - bl) : (y - bt) / (bb - bt);
    return art::Mix(P.BackFirst, P.BackLast, t);
  });
  c.Fill(art::Outline(art::RoundRect(bl + 0.5, bt + 0.5, br - 0.5, bb - 0.5, 5.5), 0.5), P.RingDark);
  const TColour cells[4] = {Rgb(231, 120, 76), Rgb(90, 170, 110), Rgb(86, 140, 220), Rgb(220, 180, 70)};
  for (int i = 0; i < 4; ++i) {
    double x, y;
    if (v) {
      x = 72;
      y = 12 + i * 12.5;
    } else {
      x = 14 + i * 20.0;
      y = 26;
    }
    if (i == 1) c.Fill(art::RoundRect(x - 3, y - 3, x + 13, y + 13, 3), P.Selected);
    c.Fill(art::RoundRect(x, y, x + 10, y + 10, 2), cells[i]);
  }
  if (v) {
    c.Fill(art::RoundRect(59, 12, 67, 30, 4), P.Tab);
  } else {
    c.Fill(art::RoundRect(60, 13, 84, 21, 4), P.Tab);
    c.Fill(art::RoundRect(12, 15, 48, 18, 1.5), art::WithAlpha(P.Text, 0.8));
  }
  SavePng(*FromCanvas(c), FileName);
}

}  // namespace

std::vector<TSkinDef> OurSkins() {
  TPalette slate;
  slate.BackFirst = Rgb(66, 81, 101);
  slate.BackLast = Rgb(33, 41, 53);
  slate.RingDark = Rgb(12, 16, 22);
  slate.RingLight = Rgb(104, 121, 143);
  slate.Text = Rgb(226, 233, 242);
  slate.TextShadow = Rgb(8, 11, 16);
  slate.TextDim = Rgb(166, 180, 198);
  slate.TextStrong = Rgb(255, 255, 255);
  slate.Hover = Rgb(78, 96, 120);
  slate.Selected = Rgb(52, 102, 160);
  slate.SelectedRing = Rgb(112, 166, 230);
  slate.Tab = Rgb(70, 132, 204);
  slate.TabPressed = Rgb(46, 94, 152);
  slate.Slider = Rgb(120, 138, 162);
  slate.MenuBack = Rgb(40, 49, 62);
  slate.MenuRing = Rgb(12, 16, 22);
  slate.MenuText = Rgb(222, 229, 238);
  slate.MenuTextOver = Rgb(255, 255, 255);
  slate.MenuOver = Rgb(70, 132, 204);
  slate.HintBack = Rgb(250, 246, 226);
  slate.HintRing = Rgb(120, 110, 80);
  slate.HintText = Rgb(40, 36, 28);
  slate.Logo = Rgb(46, 94, 152);

  TPalette glacier = slate;
  glacier.BackFirst = Rgb(246, 249, 252);
  glacier.BackLast = Rgb(210, 220, 232);
  glacier.RingDark = Rgb(118, 134, 156);
  glacier.RingLight = Rgb(255, 255, 255);
  glacier.Text = Rgb(28, 38, 52);
  glacier.TextShadow = Rgb(255, 255, 255);
  glacier.TextDim = Rgb(72, 86, 106);
  glacier.TextStrong = Rgb(10, 20, 34);
  glacier.Hover = Rgb(224, 233, 244);
  glacier.Selected = Rgb(196, 220, 246);
  glacier.SelectedRing = Rgb(84, 142, 214);
  glacier.Tab = Rgb(84, 142, 214);
  glacier.TabPressed = Rgb(58, 110, 176);
  glacier.Slider = Rgb(150, 166, 188);
  glacier.MenuBack = Rgb(250, 251, 253);
  glacier.MenuRing = Rgb(140, 154, 174);
  glacier.MenuText = Rgb(28, 38, 52);
  glacier.MenuOver = Rgb(84, 142, 214);
  glacier.Logo = Rgb(84, 142, 214);

  TPalette column;
  column.BackFirst = Rgb(70, 62, 55);
  column.BackLast = Rgb(34, 30, 27);
  column.RingDark = Rgb(14, 12, 10);
  column.RingLight = Rgb(122, 108, 96);
  column.Text = Rgb(245, 236, 224);
  column.TextShadow = Rgb(12, 10, 8);
  column.TextDim = Rgb(196, 182, 166);
  column.TextStrong = Rgb(255, 255, 255);
  column.Hover = Rgb(92, 80, 70);
  column.Selected = Rgb(150, 96, 36);
  column.SelectedRing = Rgb(236, 168, 80);
  column.Tab = Rgb(214, 138, 50);
  column.TabPressed = Rgb(168, 104, 34);
  column.Slider = Rgb(150, 134, 118);
  column.MenuBack = Rgb(48, 43, 38);
  column.MenuRing = Rgb(14, 12, 10);
  column.MenuText = Rgb(240, 232, 220);
  column.MenuTextOver = Rgb(255, 255, 255);
  column.MenuOver = Rgb(214, 138, 50);
  column.HintBack = Rgb(250, 246, 226);
  column.HintRing = Rgb(120, 110, 80);
  column.HintText = Rgb(40, 36, 28);
  column.Logo = Rgb(168, 104, 34);

  return {
      // The default skin lies directly in Skins\: the program lists that one
      // first and takes it when no skin has been chosen yet.
      {"",
       "Slate",
       false,
       "horizontal",
       {{"default", "Slate", "", "", slate, true}, {"glacier", "Glacier", "default", ".glacier", glacier, false}}},
      {"column", "Column", true, "verticaldown", {{"default", "Column", "", "", column, true}}},
  };
}

void WriteSkin(const TSkinDef& Skin, const std::string& Folder) {
  const std::string dir = Skin.Folder.empty() ? Folder : Folder + "/" + Skin.Folder;
  std::filesystem::create_directories(dir);
  TNode root{"vosskindefinition", {{"title", Skin.Title}}, {}};
  TNode& layouts = root.Add("layouts");
  for (const TLayoutDef& l : Skin.Layouts) layouts.Add("layout", {{"id", l.Id}, {"title", l.Title}});
  TNode& layoutRoot = root.Add("layout");
  for (const TLayoutDef& l : Skin.Layouts) layoutRoot.Children.push_back(TLayoutWriter(Skin, l, dir).Write());
  std::ofstream(dir + "/skin.xml", std::ios::binary) << RenderXml(root);
  WritePreview(Skin, Skin.Layouts.front().Colours, dir + "/skin.png");
  if (Skin.Folder.empty()) WriteMenuPictures(dir);
}

}  // namespace skin
