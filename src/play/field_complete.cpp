// Completion: the jigsaw is one group with no piece turned. The solved
// picture is centred, the win sound plays, the finish window may ask to
// save the solved image with its caption strip.
#include <ctime>
#include <sstream>
#include <vector>

#include "raster/output_file.h"
#include "raster/picture_codecs.h"
#include "play/play_field.h"

namespace varlo {

namespace {

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return s.substr(a, b - a);
}

// The info text's non-blank lines, each followed by three blanks.
std::string InfoLine(const std::string& info) {
  std::string out, line;
  auto flush = [&] {
    const std::string t = Trim(line);
    if (!t.empty()) out += t + "   ";
    line.clear();
  };
  for (char c : info) {
    if (c == '\r' || c == '\n') {
      flush();
    } else {
      line += c;
    }
  }
  flush();
  return out.empty() ? "Unknown image" : out;
}

}  // namespace

void PlayField::CheckComplete() {
  if (bSolved || !GameOpen()) return;
  Jigsaw& jig = *jig_;
  const int32_t n = PieceCount(jig);
  const int32_t key = jig.Tiles[0].Group;
  for (int32_t i = 0; i < n; ++i)
    if (jig.Tiles[i].Group != key || jig.Tiles[i].Rot != 0) return;
  bSolved = 1;
  view_->SetMenuEnabled(Command::FileSaveImage, true);
  // The picture (not piece 0's box, which may start inside the border
  // frame) is centred on the field.
  const TILE_P& t0 = jig.Tiles[0];
  const int32_t dx = (FW - jig.Jig.ImageW) / 2 + t0.BoxX - t0.X;
  const int32_t dy = (FH - jig.Jig.ImageH) / 2 + t0.BoxY - t0.Y;
  for (int32_t i = 0; i < n; ++i) {
    jig.Tiles[i].X += dx;
    jig.Tiles[i].Y += dy;
  }
  Picked = -1;
  DragState = kDragIdle;
  SetDirtyFlag();
  RedrawMode = kRedrawAll;
  Present();
  PlaySound("win.wav", false);
  if (view_->ShowFinish()) SaveSolvedImage();
}

bool PlayField::MakeSolvedImage(DIB_P& out) {
  if (!GameOpen()) return false;
  const Jigsaw& jig = *jig_;
  const int32_t iw = jig.Jig.ImageW, ih = jig.Jig.ImageH;
  if (!DibCreate24(out, iw + 2, ih + 52)) return false;
  XRECT all;
  RectSetXYWH(all, 0, 0, out.Width, out.Height);
  const int32_t n = PieceCount(jig);
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[i];
    DrawPieceAt(out, all, t.MapX + 1, t.MapY + 1, jig, i, options_.Look);
  }
  DibFillRect(out, 1, ih + 2, iw, 24, 0xFFFFFF);
  DibFillRect(out, 1, ih + 27, iw, 24, 0xFFFFFF);
  TextRenderer* text = platform_.Text;
  if (!text) return true;
  TextStyle regular;
  regular.Font = "";
  regular.PixelSize = 13;  // 10 points
  regular.Colour = 0;
  TextStyle bold = regular;
  bold.Bold = true;
  auto draw = [&](int32_t x, int32_t y, const std::string& s, const TextStyle& st) {
    const int32_t w = text->TextWidth(s, st);
    const int32_t h = Max(text->TextHeight(st), 1);
    XRECT box;
    RectSetXYWH(box, x, y, Max(w, 1), h);
    text->DrawText(out, box, s, st);
    return x + w;
  };
  draw(10, ih + 6, InfoLine(InfoText), regular);
  int32_t x = 10;
  const int32_t y = ih + 31;
  x = draw(x, y, "Assembled from  ", regular);
  x = draw(x, y, std::to_string(jig.Jig.TotalTileNum), bold);
  x = draw(x, y, "  pieces", regular);
  if (jig.Jig.BorderStyle != 0) {
    TextStyle teal = regular;
    teal.Colour = MakeRGB(0, 128, 128);
    x = draw(x, y, "  with border", teal);
  }
  if (jig.Jig.Rotate) {
    TextStyle blue = regular;
    blue.Colour = MakeRGB(0, 0, 255);
    x = draw(x, y, "  with rotation", blue);
  }
  std::string date = view_->ShortDate();
  if (date.empty() && platform_.Time) {
    const std::time_t secs = static_cast<std::time_t>(platform_.Time->WallSeconds());
    std::tm tm{};
    localtime_r(&secs, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    date = buf;
  }
  if (!date.empty()) draw(iw - 8 - text->TextWidth(date, regular), y, date, regular);
  return true;
}

void PlayField::SaveSolvedImage() {
  if (!GameOpen()) return;
  const std::string path = view_->AskSolvedImagePath(paths_.PicturesDir, JigName + ".bmp");
  if (path.empty()) return;
  DIB_P img;
  std::string error;
  std::vector<uint8_t> bytes;
  if (!MakeSolvedImage(img) || !DibSaveBmp(img, bytes, &error)) {
    view_->ReportError(error.empty() ? "The solved image could not be made." : error);
    return;
  }
  // The bitmap goes to a temporary file beside the target first, so a full
  // disk never leaves a broken picture under the chosen name.
  SafeFileWriter writer(path + ".tmp~", path);
  if (!writer.Begin(&error)) {
    view_->ReportError(error);
    return;
  }
  writer.out().Write(bytes.data(), bytes.size());
  if (!writer.Commit(&error)) view_->ReportError(error);
}

}  // namespace varlo
