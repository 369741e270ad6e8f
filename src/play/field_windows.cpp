// The play field's windows as a set: creation, stacking order, the current
// window, pockets, sides, thumbnail and glass geometry, reachability.
#include <algorithm>
#include <string>

#include "play/pocket_record.h"
#include "raster/picture_codecs.h"
#include "play/play_field.h"
#include "ui/lang.h"

namespace varlo {

namespace {

// The largest piece box of a game, (0, 0) without pieces. Where pieces may
// be turned, a piece needs its longer side in both directions. The border
// frame is left out: it is as large as the picture.
void LargestPieceBox(const Jigsaw& jig, int32_t& w, int32_t& h) {
  w = h = 0;
  const int32_t n = PieceCount(jig), border = BorderPieceIndex(jig);
  for (int32_t i = 0; i < n; ++i) {
    if (i == border) continue;
    const TILE_P& t = jig.Tiles[i];
    const int32_t tw = jig.Jig.Rotate ? Max(t.BoxW, t.BoxH) : t.BoxW;
    const int32_t th = jig.Jig.Rotate ? Max(t.BoxW, t.BoxH) : t.BoxH;
    w = Max(w, tw);
    h = Max(h, th);
  }
}

}  // namespace

bool LoadPlaySkins(PlaySkins& skins, const std::string& resourceDir, std::string* error) {
  bool ok = true;
  auto load = [&](DIB_P& d, const char* name) {
    std::string e;
    if (!DibLoadPngResource(d, resourceDir, name, &e) && ok) {
      ok = false;
      if (error) *error = std::string(name) + ": " + e;
    }
  };
  load(skins.Window, kWindowSkinResource);
  load(skins.Glass, kGlassSkinResource);
  load(skins.Weight, kWeightResource);
  load(skins.Star, kStarResource);
  return ok;
}

PlayField::PlayField(const Platform& platform, PlayView* view, const LANG_P* lang, GameFlags* flags)
    : platform_(platform), view_(view ? view : &nullView_), lang_(lang), flags_(flags) {
  for (int32_t s = 0; s < 2; ++s) {
    TMyWin& w = Wins[s];
    InitWindow(w, 0, 0, kKindSide, 100, 100);
    w.Shown = 1;
    w.HasBkg = 1;
    w.Bkg = static_cast<int32_t>(kNeutralGrey);
    w.ToolButton = s == 0 ? kTbSide1 : kTbSide2;
    w.Name = s == 0 ? "First Side" : "Second Side";
    w.MenuItem = s == 0 ? Command::GameWin1 : Command::GameWin2;
  }
  for (int32_t p = 0; p < kPocketWindows; ++p) {
    TMyWin& w = Wins[MW_POCKET + p];
    InitWindow(w, 50 * p, 50 * p, kKindPocket, 100, 100);
    w.HasBkg = 1;
    w.Bkg = static_cast<int32_t>(kNeutralGrey);
    w.ToolButton = kTbPocket1 + p;
    w.MenuItem = PocketCommand(p);
  }
  InitWindow(Wins[kThumbWindow], 0, 0, kKindThumb, 100, 100);
  Wins[kThumbWindow].ToolButton = kTbThumb;
  Wins[kThumbWindow].MenuItem = Command::GameThumb;
  SetupGlass();
  for (int32_t k = 0; k < kFieldWindows; ++k) {
    Wins[k].Index = static_cast<uint8_t>(k);
    Stack[k] = k;
  }
  for (int32_t p = 0; p < kPocketWindows; ++p) SetTitle(Wins[MW_POCKET + p], PocketCaption(p));
  {
    std::string t = lang_ ? LangText(*lang_, kLangThumbnail, "FormCaption") : "";
    SetTitle(Wins[kThumbWindow], t.empty() || t == "FormCaption" ? "Thumbnail" : t);
  }
  RectSetXYWH(FieldClip, 0, 0, 0, 0);
  RectEmpty(FieldClip);
}

void PlayField::SetSkins(PlaySkins&& skins) {
  skins_ = std::move(skins);
  // The mark of the weighted group: the weight image at half size, each
  // pixel the mean of two by two, its colour weighted by the alpha.
  DibFree(weightMark_);
  const DIB_P& wt = skins_.Weight;
  if (wt.Width > 0 && wt.BytesPerPixel == 4 && DibCreate32(weightMark_, (wt.Width + 1) / 2, (wt.Height + 1) / 2)) {
    for (int32_t y = 0; y < weightMark_.Height; ++y)
      for (int32_t x = 0; x < weightMark_.Width; ++x) {
        int32_t sum[4] = {0, 0, 0, 0}, count = 0;
        for (int32_t dy = 0; dy < 2; ++dy)
          for (int32_t dx = 0; dx < 2; ++dx) {
            if (2 * x + dx >= wt.Width || 2 * y + dy >= wt.Height) continue;
            const uint8_t* p = DibPixel(wt, 2 * x + dx, 2 * y + dy);
            for (int32_t c = 0; c < 3; ++c) sum[c] += p[c] * p[3];
            sum[3] += p[3];
            ++count;
          }
        uint8_t* q = DibPixel(weightMark_, x, y);
        for (int32_t c = 0; c < 3; ++c) q[c] = static_cast<uint8_t>(sum[3] > 0 ? (sum[c] + sum[3] / 2) / sum[3] : 0);
        q[3] = static_cast<uint8_t>((sum[3] + count / 2) / Max(1, count));
      }
  }
  RedrawMode = kRedrawAll;
}

std::string PlayField::Text(int32_t section, std::string_view key) const {
  if (!lang_) return std::string(key);
  return LangText(*lang_, section, key);
}

void PlayField::SetTitle(TMyWin& w, const std::string& text) {
  w.Title = text;
  RectEmpty(w.TitleBox);
  if (w.TitleBmp.Width <= 0) return;
  std::fill(w.TitleBmp.Bits, w.TitleBmp.Bits + w.TitleBmp.Size, uint8_t{0});
  if (platform_.Text) {
    TextStyle style;
    style.Font = "Tahoma";
    style.PixelSize = 11;
    style.Bold = true;
    style.Colour = 0xFFFFFF;
    style.EndEllipsis = true;
    XRECT box;
    RectSetXYWH(box, 0, 0, w.TitleBmp.Width, w.TitleBmp.Height);
    platform_.Text->DrawText(w.TitleBmp, box, text, style);
  }
  // The caption is drawn with the text's coverage as alpha.
  for (int32_t y = 0; y < w.TitleBmp.Height; ++y) {
    uint8_t* p = DibRow(w.TitleBmp, y);
    for (int32_t x = 0; x < w.TitleBmp.Width; ++x, p += 4) {
      if (p[0] == 0) continue;
      p[3] = p[0];
      RectExtend(w.TitleBox, x, y, x, y);
    }
  }
}

void PlayField::RaiseWindow(int32_t ref) {
  if (ref >= 0 && ref < kFieldWindows) {
    for (int32_t k = 2; k < kFieldWindows; ++k) {
      if (Stack[k] != ref) continue;
      for (int32_t j = k; j + 1 < kFieldWindows; ++j) Stack[j] = Stack[j + 1];
      Stack[kFieldWindows - 1] = ref;
      break;
    }
  }
  SetCurrent(ref);
}

void PlayField::SetCurrent(int32_t ref) {
  auto clear = [](TMyWin& w, bool on) {
    w.Active = on ? 1 : 0;
    for (WinButton& b : w.Buttons) b.ActiveLook = on ? 1 : 0;
  };
  for (TMyWin& w : Wins) clear(w, false);
  clear(glass_.Win, false);
  Current = ref;
  if (ref != kNoWindow) clear(Win(ref), true);
  UpdateWindowCaptions();
}

void PlayField::ShowWindow(int32_t ref, bool on) {
  TMyWin& w = Win(ref);
  const bool was = w.Shown != 0;
  w.Shown = on ? 1 : 0;
  if (!on) w.Active = 0;
  if (w.MenuItem) view_->SetMenuChecked(*w.MenuItem, on);
  if (ref == kThumbWindow) view_->SetToolButton(kTbThumb, -1, on);
  if (ref == kGlassRef) view_->SetMenuChecked(Command::GameGlass, on);
  if (was && !on) SetCurrent(DefaultWindow());
}

std::string PlayField::PocketCaption(int32_t pocket) const {
  const std::string tmpl = lang_ ? LangText(*lang_, kLangPocket, "PocketCaption") : "Pocket %d (%d)";
  return LangFormat(tmpl == "PocketCaption" ? "Pocket %d (%d)" : tmpl,
                    {pocket + 1, Wins[MW_POCKET + pocket].Groups});
}

void PlayField::ShowPocket(int32_t pocket, bool on) {
  if (pocket < 0 || pocket >= kPocketWindows) return;
  const int32_t ref = MW_POCKET + pocket;
  TMyWin& w = Wins[ref];
  ShowWindow(ref, on);
  if (on) RaiseWindow(ref);
  view_->SetPocketButton(pocket, w.Shown != 0, w.Groups > 0);
  if (!on || w.Groups != 0) return;
  SetTitle(w, PocketCaption(pocket));
  // A new pocket is a quarter of the field each way, larger where its client
  // would not hold the game's largest piece, but no larger than its own
  // limits and the side's client area allow.
  const XRECT& side = Wins[SideIndex].Client;
  int32_t pw = FW / 4, ph = FH / 4;
  if (GameOpen()) {
    int32_t cw = 0, ch = 0;
    LargestPieceBox(*jig_, cw, ch);
    if (w.MaxW > 0) cw = Min(cw, w.MaxW);
    if (w.MaxH > 0) ch = Min(ch, w.MaxH);
    pw = Max(pw, Min(cw + w.FrameW, side.Width));
    ph = Max(ph, Min(ch + w.FrameH, side.Height));
  }
  // It goes beside the last one placed: left of it and lower.
  bool found = false;
  int32_t L = 0, T = 0;
  for (int32_t q = 0; q < kPocketWindows; ++q) {
    const TMyWin& o = Wins[MW_POCKET + q];
    if (q == pocket || !o.Shown) continue;
    if (!found || (o.Outer.Left < L && o.Outer.Top > T)) {
      found = true;
      L = o.Outer.Left;
      T = o.Outer.Top;
    }
  }
  int32_t x = FW - pw, y = 0;
  if (found) {
    x = FW >= pw + L - 40 ? L - 40 : FW - pw;
    y = T + 40 + ph > FH ? FH - ph : T + 40;
  }
  // Never over the side's scroll bars.
  x = Min(x, side.Left + side.Width - pw);
  y = Min(y, side.Top + side.Height - ph);
  RectSetXYWH(w.Outer, Max(0, x), Max(0, y), pw, ph);
  SetSize(w, false, 0, 0);
}

void PlayField::PocketCount(int32_t pocket) {
  if (pocket < 0 || pocket >= kPocketWindows) return;
  TMyWin& w = Wins[MW_POCKET + pocket];
  w.Groups = GameOpen() ? CountGroups(*jig_, MW_POCKET + pocket, true) : 0;
  view_->SetPocketButton(pocket, w.Shown != 0, w.Groups > 0);
  SetTitle(w, PocketCaption(pocket));
}

void PlayField::PocketExtent(int32_t pocket) {
  if (pocket < 0 || pocket >= kPocketWindows) return;
  TMyWin& w = Wins[MW_POCKET + pocket];
  int32_t cw = 0, ch = 0;
  if (GameOpen()) {
    const int32_t n = PieceCount(*jig_);
    for (int32_t i = 0; i < n; ++i) {
      const TILE_P& t = jig_->Tiles[i];
      if (t.Win != MW_POCKET + pocket) continue;
      cw = Max(cw, t.X + t.RotW);
      ch = Max(ch, t.Y + t.RotH);
    }
  }
  if (w.MaxW > 0) cw = Min(cw, w.MaxW);
  if (w.MaxH > 0) ch = Min(ch, w.MaxH);
  w.ContentW = cw;
  w.ContentH = ch;
  SetSize(w, false, 0, 0);
}

void PlayField::SetSideContent(int32_t pw, int32_t ph) {
  CW = Max(FW, pw);
  CH = Max(FH, ph);
  TMyWin& s = Wins[MW_SIDE0];
  s.ContentW = CW;
  s.ContentH = CH;
  s.ScrollX = s.ScrollY = 0;
  SetSize(s, false, 0, 0);
  CopySideGeometry(Wins[MW_SIDE1], s);
}

void PlayField::SetupThumbnail(int32_t pw, int32_t ph) {
  TMyWin& w = Wins[kThumbWindow];
  w.MaxW = Max(1, pw / 2);
  w.MaxH = Max(1, ph / 2);
  if (w.MaxH < w.MaxW) {
    w.MinH = 40;
    w.MinW = w.MaxW * 40 / w.MaxH;
  } else {
    w.MinW = 40;
    w.MinH = w.MaxH * 40 / w.MaxW;
  }
  SetSize(w, true, pw / 4, ph / 4);
  DibCreate24(thumbBmp_, w.MaxW, w.MaxH);
  DrawThumbnail();
}

void PlayField::DrawThumbnail() {
  const TMyWin& w = Wins[kThumbWindow];
  if (w.Client.Width <= 0 || !GameOpen() || thumbBmp_.Width <= 0) return;
  DibScaleTo(thumbBmp_, w.Client.Width, w.Client.Height, jig_->Images[kPictureSlot]);
}

void PlayField::SetupGlass() {
  InitWindow(glass_.Win, 0, 0, kKindGlass, 240, 240);
  glass_.Win.Title = "Glass";
  glass_.Win.MenuItem.reset();  // its check mark follows ShowWindow
  glass_.Win.MinW = glass_.Win.MinH = 240;
  glass_.Win.MaxW = glass_.Win.MaxH = 480;
  SetSize(glass_.Win, false, 0, 0);
  glass_.LensA = glass_.Win.Client.Width / 2.0;
  glass_.LensB = glass_.Win.Client.Height / 2.0;
  glass_.Zoom = 2;
  glass_.Win.Buttons[kBtnZoom3].Visible = 1;
  glass_.Win.Buttons[kBtnZoom2].Visible = 0;
  DibCreate24(glass_.Mask, 490, 490);
  DibCreate24(glass_.Img, 490, 490);
  MakeLensMask();
}

void PlayField::KeepReachable() {
  auto keep = [&](TMyWin& w, bool glass) {
    const int32_t m = glass ? 38 : 2 * (w.Border + w.CaptionH);
    const int32_t n = w.Border + w.CaptionH;
    int32_t left = w.Outer.Left, top = w.Outer.Top;
    if (w.Outer.Right <= m) left = m - w.Outer.Width;
    if (left >= FW - m) left = FW - m;
    if (glass) {
      if (w.Outer.Bottom <= m) top = m - w.Outer.Height;
      if (top >= FH - m) top = FH - m;
    } else {
      if (top < 0) top = 0;
      if (top >= FH - n) top = FH - n;
    }
    if (left == w.Outer.Left && top == w.Outer.Top) return;
    RectMoveTo(w.Outer, left, top);
    Relayout(w);
  };
  if (glass_.Win.Shown) keep(glass_.Win, true);
  for (TMyWin& w : Wins)
    if (w.Shown && w.CaptionH > 0) keep(w, false);
}

int32_t PlayField::DefaultWindow() const {
  for (int32_t k = 0; k < kFieldWindows; ++k) {
    const TMyWin& w = Wins[k];
    if (w.Active && (w.Kind == kKindSide || w.Kind == kKindPocket)) return k;
  }
  return Wins[MW_SIDE0].Shown ? MW_SIDE0 : MW_SIDE1;
}

void PlayField::UpdateWindowCaptions() {
  const int32_t d = DefaultWindow();
  std::string bkg, sel;
  if (d >= MW_POCKET && d < MW_POCKET + kPocketWindows) {
    const std::string n = std::to_string(d - MW_POCKET + 1);
    bkg = Text(kLangMainForm, "MI_GameBkgPocket" + n);
    sel = Text(kLangMainForm, "MI_GameSelectAllPocket" + n);
  } else {
    const std::string n = std::to_string(d + 1);
    bkg = Text(kLangMainForm, "MI_GameBkgWin" + n);
    sel = Text(kLangMainForm, "MI_GameSelectAllWin" + n);
  }
  view_->SetMenuCaption(Command::GameBkgCur, bkg);
  view_->SetMenuCaption(Command::GameSelectAll, sel);
  view_->RefreshToolHint(kTbBkgCur);
  view_->RefreshToolHint(kTbSelectAll);
}

void PlayField::Scroll(int32_t ref, int32_t code, int32_t dx, int32_t dy) {
  if (ref == kNoWindow) return;
  TMyWin& w = Win(ref);
  ScrollWindow(w, code, dx, dy);
  if (ref == MW_SIDE0 || ref == MW_SIDE1) CopySideGeometry(Wins[1 - ref], w);
}

void PlayField::Resize(int32_t fieldW, int32_t fieldH, int32_t screenW, int32_t screenH) {
  FW = Max(1, fieldW);
  FH = Max(1, fieldH);
  MaxFW = Max(FW, screenW);
  MaxFH = Max(FH, screenH);
  if (StaticImg.Width != MaxFW || StaticImg.Height != MaxFH) {
    DibCreate24(StaticImg, MaxFW, MaxFH);
    DibCreate24(FieldImg, MaxFW, MaxFH);
    const bool picture = Bkgs.lBkg >= kBkgPictureFirst && Bkgs.lBkg <= kBkgPictureLast;
    const uint32_t fill = picture ? kNeutralGrey : static_cast<uint32_t>(Bkgs.lBkg);
    DibFillRect(StaticImg, 0, 0, MaxFW, MaxFH, fill);
    DibFillRect(FieldImg, 0, 0, MaxFW, MaxFH, fill);
  }
  RectSetXYWH(FieldClip, 0, 0, FW, FH);
  for (int32_t s = 0; s < 2; ++s) RectSetXYWH(Wins[s].Outer, 0, 0, FW, FH);
  if (GameOpen()) {
    const int32_t sx = Wins[MW_SIDE0].ScrollX, sy = Wins[MW_SIDE0].ScrollY;
    CW = Max(FW, Max(CW, 0));
    CH = Max(FH, Max(CH, 0));
    Wins[MW_SIDE0].ContentW = CW;
    Wins[MW_SIDE0].ContentH = CH;
    Wins[MW_SIDE0].ScrollX = sx;
    Wins[MW_SIDE0].ScrollY = sy;
  }
  SetSize(Wins[MW_SIDE0], false, 0, 0);
  CopySideGeometry(Wins[MW_SIDE1], Wins[MW_SIDE0]);
  KeepReachable();
  RedrawMode = kRedrawAll;
}

void PlayField::ApplyPocketRecords(const PocketRecord* records, int32_t count) {
  for (int32_t p = 0; p < kPocketWindows && p < count; ++p) {
    const PocketRecord& r = records[p];
    TMyWin& w = Wins[MW_POCKET + p];
    RectSetLTRB(w.Outer, r.Left, r.Top, r.Right, r.Bottom);
    PocketExtent(p);
    if (r.Reserved == 0) {
      w.ScrollX = Clamp(r.ScrollX, 0, Max(0, w.ContentW - w.Client.Width));
      w.ScrollY = Clamp(r.ScrollY, 0, Max(0, w.ContentH - w.Client.Height));
      Relayout(w);
    }
    PocketCount(p);
    w.Shown = r.Shown ? 1 : 0;
    view_->SetMenuChecked(PocketCommand(p), w.Shown != 0);
    view_->SetPocketButton(p, w.Shown != 0, w.Groups > 0);
  }
  KeepReachable();
  RedrawMode = kRedrawAll;
}

void PlayField::StorePocketRecords(PocketRecord* records, int32_t count) const {
  for (int32_t p = 0; p < kPocketWindows && p < count; ++p) {
    const TMyWin& w = Wins[MW_POCKET + p];
    PocketRecord& r = records[p];
    r = PocketRecord{};
    r.Shown = w.Shown;
    r.Left = w.Outer.Left;
    r.Top = w.Outer.Top;
    r.Right = w.Outer.Right;
    r.Bottom = w.Outer.Bottom;
    r.ScrollX = static_cast<int16_t>(Clamp(w.ScrollX, 0, 32767));
    r.ScrollY = static_cast<int16_t>(Clamp(w.ScrollY, 0, 32767));
  }
}

}  // namespace varlo
