// varlo-bake-art: draws the game's skins, small images and background
// pictures at build time with Qt's painter. Every picture is a pure function
// of the sources in the repository, so two builds give the same bytes.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace varlo::art {

// ---- Shared painting helpers (paint_kit.cpp) ----

// A transparent 32-bit canvas in premultiplied ARGB, the format QPainter
// draws fastest into.
QImage NewCanvas(int w, int h, QColor fill = Qt::transparent);
// A rectangle with its own radius at each corner (top-left, top-right,
// bottom-right, bottom-left); a radius of 0 gives a square corner.
QPainterPath RoundedBox(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl);
// A soft shadow: the alpha of `shape` blurred by three box passes of the
// given radius, in `color`.
QImage SoftShadow(const QImage& shape, int radius, QColor color);
QColor Mix(QColor a, QColor b, double t);
QColor WithAlpha(QColor c, int alpha);

// The toolbar strip's colour in each of its 35 rows, top to bottom. The
// strip is the same across, so button faces drawn on these rows sit on it
// without a seam.
QColor ToolbarRow(int row);
constexpr int kToolbarHeight = 35;
// Toolbar buttons stand 2 pixels below the strip's top.
constexpr int kToolbarButtonTop = 2;

// Writers. Each fails with a message on stderr and returns false.
bool SaveRgbaPng(const QImage& img, const QString& path);  // 32-bit with alpha
bool SaveRgbPng(const QImage& img, const QString& path);   // 24-bit, no alpha
bool SaveJpeg(const QImage& img, const QString& path, int quality);

// ---- Icons (icon_set.cpp) ----

// Renders one outline icon of the committed SVG set (24 x 24 units) into a
// size x size transparent image, with its strokes in `stroke` at
// `strokeWidth` units and, when `fill` is not transparent, its closed shapes
// filled. A missing or unreadable file gives a null image and a message.
QImage RenderIcon(const QString& iconDir, const QString& name, int size, QColor stroke,
                  double strokeWidth, QColor fill = Qt::transparent);

// ---- The pictures ----

QImage DrawWindowSkin();  // 390 x 170, alpha
// 290 x 189, alpha; a null image when an icon is missing.
QImage DrawGlassSkin(const QString& iconDir);
QImage DrawWeightImage();  // 29 x 37, alpha
QImage DrawStarStrip();    // 119 x 23, white is transparent
// 661 x 91, opaque. Returns a null image when an icon is missing.
QImage DrawToolbarSkin(const QString& iconDir);

// The eight background pictures, by their file names' stems.
constexpr int kBackgroundCount = 8;
const char* BackgroundName(int index);
QImage DrawBackground(int index, int width, int height);
// The 63 x 50 button of the colour picker, cut from the full picture.
QImage BackgroundButton(const QImage& full);

// Contact sheets of mock windows built from the baked skins (preview.cpp).
bool WritePreviews(const QString& resourceDir, const QString& bkgDir, const QString& outDir);

}  // namespace varlo::art
