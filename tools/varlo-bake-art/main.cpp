// varlo-bake-art: the game's artwork, drawn at build time.
//
//   varlo-bake-art skins ICON_DIR OUT_DIR
//       window_skin.png, glass_skin.png, weight.png, star.png and
//       toolbar_skin.png into OUT_DIR (the data tree's resources/ folder)
//   varlo-bake-art backgrounds OUT_DIR
//       <name>-1600.jpg and <name>-but.jpg of the eight background pictures
//   varlo-bake-art preview RESOURCE_DIR BKG_DIR OUT_DIR
//       mock windows and contact sheets built from the baked files, for a
//       developer to look at
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QDir>
#include <QGuiApplication>

#include "art.h"

namespace {

using namespace varlo::art;

// Large enough to cover a 1920 x 1200 field without scaling up.
constexpr int kBackgroundW = 1920;
constexpr int kBackgroundH = 1200;

int Usage() {
  std::fprintf(stderr,
               "usage: varlo-bake-art skins ICON_DIR OUT_DIR\n"
               "       varlo-bake-art backgrounds OUT_DIR\n"
               "       varlo-bake-art preview RESOURCE_DIR BKG_DIR OUT_DIR\n");
  return 2;
}

bool MakeDir(const QString& dir) {
  if (QDir().mkpath(dir)) return true;
  std::fprintf(stderr, "varlo-bake-art: cannot create %s\n", qPrintable(dir));
  return false;
}

int BakeSkins(const QString& iconDir, const QString& out) {
  if (!MakeDir(out)) return 1;
  const QImage toolbar = DrawToolbarSkin(iconDir);
  const QImage glass = DrawGlassSkin(iconDir);
  if (toolbar.isNull() || glass.isNull()) return 1;
  bool ok = SaveRgbaPng(DrawWindowSkin(), out + "/window_skin.png");
  ok = SaveRgbaPng(glass, out + "/glass_skin.png") && ok;
  ok = SaveRgbaPng(DrawWeightImage(), out + "/weight.png") && ok;
  ok = SaveRgbPng(DrawStarStrip(), out + "/star.png") && ok;
  ok = SaveRgbPng(toolbar, out + "/toolbar_skin.png") && ok;
  return ok ? 0 : 1;
}

int BakeBackgrounds(const QString& out) {
  if (!MakeDir(out)) return 1;
  bool ok = true;
  for (int i = 0; i < kBackgroundCount; ++i) {
    const QImage full = DrawBackground(i, kBackgroundW, kBackgroundH);
    const QString stem = out + "/" + BackgroundName(i);
    ok = SaveJpeg(full, stem + "-1600.jpg", 88) && ok;
    ok = SaveJpeg(BackgroundButton(full), stem + "-but.jpg", 92) && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  // Fonts and painting without a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  const char* cmd = argv[1];
  if (std::strcmp(cmd, "skins") == 0 && argc == 4) return BakeSkins(argv[2], argv[3]);
  if (std::strcmp(cmd, "backgrounds") == 0 && argc == 3) return BakeBackgrounds(argv[2]);
  if (std::strcmp(cmd, "preview") == 0 && argc == 5) return WritePreviews(argv[2], argv[3], argv[4]) ? 0 : 1;
  return Usage();
}
