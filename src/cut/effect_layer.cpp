#include "cut/effect_layer.h"

#include <algorithm>

#include "jigsaw/pieces.h"

namespace varlo {

int32_t BandWidth(int32_t woodStyle) { return woodStyle == 1 ? 3 : woodStyle == 2 ? 5 : 0; }

bool CreateEffectLayer(DIB_P& layer, int32_t w, int32_t h) {
  DibFree(layer);
  DibClear(layer);
  if (w <= 0 || h <= 0 || w > kDibMaxSide || h > kDibMaxSide) return false;
  const int64_t stride = int64_t{w} * kLayerBytesPerPixel;
  if (stride * h > kDibMaxBytes) return false;
  auto bitmap = std::make_unique<DibBitmap>();
  bitmap->Width = w;
  bitmap->Height = h;
  bitmap->BitsPerPixel = 8 * kLayerBytesPerPixel;
  bitmap->WidthBytes = static_cast<int32_t>(stride);
  bitmap->Pixels.assign(static_cast<size_t>(stride * h), 0);
  layer.BytesPerPixel = kLayerBytesPerPixel;
  layer.Stride = static_cast<int32_t>(stride);
  layer.Width = w;
  layer.Height = h;
  layer.Bits = bitmap->Pixels.data();
  layer.Size = static_cast<int32_t>(stride * h);
  layer.HasAlpha = 0;
  layer.Bitmap = std::move(bitmap);
  return true;
}

void SetLayerBits(uint8_t* px, uint16_t bits) {
  px[0] = static_cast<uint8_t>(bits);
  px[1] = static_cast<uint8_t>(bits >> 8);
}

void SetLayerDistances(uint8_t* px, uint32_t d) {
  px[2] = static_cast<uint8_t>(d);
  px[3] = static_cast<uint8_t>(d >> 8);
  px[4] = static_cast<uint8_t>(d >> 16);
  px[5] = static_cast<uint8_t>(d >> 24);
}

void SetLayerDistance(uint8_t* px, int32_t cls, int32_t distance) {
  const uint32_t shift = 3u * static_cast<uint32_t>(cls);
  SetLayerDistances(px, (LayerDistances(px) & ~(7u << shift)) | (static_cast<uint32_t>(distance & 7) << shift));
}

int32_t PieceClass(int32_t index, int32_t columns, bool isBorder) {
  if (isBorder || columns <= 0) return kBorderClass;
  return (index / columns) % 3 * 3 + (index % columns) % 3;
}

void CastBand(DIB_P& layer, const DIB_P& mask, int32_t bx, int32_t by, int32_t bw, int32_t bh,
              uint8_t key, int32_t cls, int32_t bandWidth) {
  const int32_t x0 = std::max(bx, 0), y0 = std::max(by, 0);
  const int32_t x1 = std::min(bx + bw, mask.Width) - 1, y1 = std::min(by + bh, mask.Height) - 1;
  if (x0 > x1 || y0 > y1) return;
  const uint16_t bit = static_cast<uint16_t>(1u << cls);
  const uint32_t shift = 3u * static_cast<uint32_t>(cls);
  const uint32_t keep = ~(7u << shift);
  // Each layer pixel takes the smallest shift A (0 for the piece itself) at
  // which a piece pixel lands on it: the same as marking the piece shifted
  // by L, L - 1, ..., 0 in turn, with one look per layer pixel.
  const int32_t tx1 = std::min(x1 + bandWidth, layer.Width - 1);
  const int32_t ty1 = std::min(y1 + bandWidth, layer.Height - 1);
  for (int32_t ty = y0; ty <= ty1; ++ty) {
    uint8_t* px = DibPixel(layer, x0, ty);
    for (int32_t tx = x0; tx <= tx1; ++tx, px += kLayerBytesPerPixel) {
      int32_t a = std::max({0, tx - x1, ty - y1});
      const int32_t amax = std::min({bandWidth, tx - x0, ty - y0});
      for (; a <= amax; ++a)
        if (DibPixel(mask, tx - a, ty - a)[0] == key) break;
      if (a > amax) continue;
      SetLayerBits(px, LayerBits(px) | bit);
      SetLayerDistances(px, (LayerDistances(px) & keep) | (static_cast<uint32_t>(a) << shift));
    }
  }
}

void ClearSeamBands(DIB_P& layer, const SeamPiece& a, const std::vector<SeamPiece>& others) {
  const uint16_t abit = static_cast<uint16_t>(1u << a.Class);
  const int32_t x0 = std::max(a.X, 0), y0 = std::max(a.Y, 0);
  const int32_t x1 = std::min(a.X + a.W, layer.Width) - 1, y1 = std::min(a.Y + a.H, layer.Height) - 1;
  for (int32_t y = y0; y <= y1; ++y) {
    uint8_t* px = DibPixel(layer, x0, y);
    for (int32_t x = x0; x <= x1; ++x, px += kLayerBytesPerPixel) {
      const uint16_t bits = LayerBits(px);
      if (!(bits & abit) || bits == abit) continue;
      for (const SeamPiece& e : others) {
        if (!(bits & (1u << e.Class)) || x < e.X || x >= e.X + e.W || y < e.Y || y >= e.Y + e.H) continue;
        const int32_t da = LayerDistance(px, a.Class), de = LayerDistance(px, e.Class);
        if (da == de) continue;
        if (da == 0)
          SetLayerDistance(px, e.Class, 0);
        else if (de == 0)
          SetLayerDistance(px, a.Class, 0);
        else
          SetLayerDistance(px, da > de ? a.Class : e.Class, 0);
      }
    }
  }
}

namespace {

SeamPiece GrownBox(const Jigsaw& jig, const TILE_P& t, int32_t rot, int32_t bandWidth) {
  const TurnedBox b = TurnedBoxFor(jig, t, rot);
  return SeamPiece{b.MapX, b.MapY, b.RotW + bandWidth, b.RotH + bandWidth, t.WoodSlot};
}

}  // namespace

bool BuildEffectLayer(Jigsaw& jig, int32_t rot, int32_t woodStyle) {
  if (BandWidth(woodStyle) > 0) AssignLayerClasses(jig);
  return CastLayer(jig, rot, woodStyle);
}

void AssignLayerClasses(Jigsaw& jig) {
  const int32_t n = PieceCount(jig);
  const int32_t border = BorderPieceIndex(jig);
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    const int32_t cls = PieceClass(i, jig.Jig.TilePX, i == border);
    t.WoodSlot = cls;
    t.WoodBit = 1 << cls;
  }
}

bool CastLayer(Jigsaw& jig, int32_t rot, int32_t woodStyle) {
  rot &= 3;
  DIB_P& layer = jig.Images[kEffectSlot + rot];
  const int32_t L = BandWidth(woodStyle);
  if (L == 0) {
    DibFree(layer);
    return true;
  }
  const DIB_P& mask = jig.Images[kMaskSlot + rot];
  if (mask.Width <= 0) return false;
  if (layer.Width != mask.Width || layer.Height != mask.Height || layer.BytesPerPixel != kLayerBytesPerPixel) {
    if (!CreateEffectLayer(layer, mask.Width, mask.Height)) return false;
  }
  const int32_t n = PieceCount(jig);
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    const TurnedBox b = TurnedBoxFor(jig, t, rot);
    CastBand(layer, mask, b.MapX, b.MapY, b.RotW, b.RotH, t.Key, t.WoodSlot, L);
  }
  // Joined pieces keep no band across their seams.
  std::vector<SeamPiece> joined;
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    joined.clear();
    for (int16_t nb : t.Nb) {
      if (nb < i || nb >= n) continue;
      const TILE_P& e = jig.Tiles[static_cast<size_t>(nb)];
      if (e.Group == t.Group) joined.push_back(GrownBox(jig, e, rot, L));
    }
    if (!joined.empty()) ClearSeamBands(layer, GrownBox(jig, t, rot, L), joined);
  }
  return true;
}

void ClearSeam(Jigsaw& jig, int32_t i, int32_t group, int32_t woodStyle) {
  const int32_t L = BandWidth(woodStyle);
  const int32_t n = PieceCount(jig);
  if (L == 0 || i < 0 || i >= n) return;
  const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
  for (int32_t rot = 0; rot < 4; ++rot) {
    DIB_P& layer = jig.Images[kEffectSlot + rot];
    if (layer.Width <= 0 || layer.BytesPerPixel != kLayerBytesPerPixel) continue;
    std::vector<SeamPiece> others;
    for (int16_t nb : t.Nb) {
      if (nb < 0 || nb >= n || nb == i) continue;
      const TILE_P& e = jig.Tiles[static_cast<size_t>(nb)];
      if (e.Group == group) others.push_back(GrownBox(jig, e, rot, L));
    }
    if (others.empty()) return;
    ClearSeamBands(layer, GrownBox(jig, t, rot, L), others);
  }
}

}  // namespace varlo
