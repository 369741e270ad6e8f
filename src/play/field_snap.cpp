// The drop: a dropped group joins every neighbour lying where it lies in
// the picture (within the snapping tolerance), with a sound, a short star
// at the joint, and the edge bands along the new seam cleared.
#include <cstdlib>

#include "cut/effect_layer.h"
#include "play/play_field.h"

namespace varlo {

namespace {

constexpr int32_t kStarFrames[6] = {0, 1, 2, 3, 4, -1};
constexpr int32_t kStarStepMs = 18;
constexpr int32_t kStarSize = 23;

// Where r lies relative to q in the picture, for a common rotation.
void ExpectedOffset(const TILE_P& r, const TILE_P& q, int32_t rot, int32_t& ex, int32_t& ey) {
  switch (rot & 3) {
    case 0:
      ex = r.BoxX - q.BoxX;
      ey = r.BoxY - q.BoxY;
      break;
    case 1:
      ex = (q.BoxY + q.BoxH) - (r.BoxY + r.BoxH);
      ey = r.BoxX - q.BoxX;
      break;
    case 2:
      ex = (q.BoxX + q.BoxW) - (r.BoxX + r.BoxW);
      ey = (q.BoxY + q.BoxH) - (r.BoxY + r.BoxH);
      break;
    default:
      ex = r.BoxY - q.BoxY;
      ey = (q.BoxX + q.BoxW) - (r.BoxX + r.BoxW);
      break;
  }
}

bool IsEdgePiece(const JIG_P& j, const TILE_P& q) {
  return q.BoxX == j.JigsL || q.BoxY == j.JigsT || q.BoxX + q.BoxW == j.JigsR + 1 ||
         q.BoxY + q.BoxH == j.JigsB + 1;
}

}  // namespace

int32_t PlayField::SnapTolerance() const {
  if (!jig_) return 0;
  const int64_t num = int64_t{jig_->Jig.SnapS} * options_.StuckKoef;
  int64_t q = num / 10;
  const int64_t rem = num % 10;
  if (rem > 5 || (rem == 5 && (q & 1))) ++q;  // half to even
  return static_cast<int32_t>(q);
}

void PlayField::Snap() {
  if (!GameOpen() || Picked < 0) {
    Picked = -1;
    DragState = kDragIdle;
    return;
  }
  Jigsaw& jig = *jig_;
  const int32_t n = PieceCount(jig);
  const int32_t A = jig.Tiles[Picked].Group;
  const int32_t R = jig.Tiles[Picked].Rot;
  const int32_t tol = SnapTolerance();
  const int32_t border = BorderPieceIndex(jig);
  int32_t joins = 0, lastP = -1, lastQ = -1;

  auto groupFacts = [&](int32_t key, int32_t& size, bool& hasBorder) {
    size = 0;
    hasBorder = false;
    for (int32_t i = 0; i < n; ++i) {
      if (jig.Tiles[i].Group != key) continue;
      ++size;
      hasBorder |= i == border;
    }
  };

  // Every partner of r joins, not only the first: a piece dropped into a
  // corner closes both of its seams at once.
  for (int32_t r = 0; r < n; ++r) {
    for (;;) {
      const TILE_P& tr = jig.Tiles[r];
      if (tr.Group != A || tr.Rot != R) break;
      int32_t partner = -1, cx = 0, cy = 0;
      auto tryPartner = [&](int32_t q, bool border) {
        if (q < 0 || q >= n || q == r) return false;
        const TILE_P& tq = jig.Tiles[q];
        if (tq.Group == A || tq.Rot != R || tq.Win != Current) return false;
        int32_t ex, ey;
        if (border) {
          if (!IsEdgePiece(jig.Jig, tq)) return false;
          ex = tr.BoxX - tq.BoxX;
          ey = tr.BoxY - tq.BoxY;
        } else {
          ExpectedOffset(tr, tq, R, ex, ey);
        }
        const int32_t ox = (tr.X - tq.X) - ex, oy = (tr.Y - tq.Y) - ey;
        if (std::abs(ox) >= tol || std::abs(oy) >= tol) return false;
        partner = q;
        cx = -ox;
        cy = -oy;
        return true;
      };
      if (r == border) {
        for (int32_t q = 0; q < n; ++q)
          if (tryPartner(q, true)) break;
      } else {
        for (int16_t q : tr.Nb)
          if (q >= 0 && tryPartner(q, false)) break;
      }
      if (partner < 0) break;

      const int32_t M = jig.Tiles[partner].Group;
      int32_t sizeA, sizeM;
      bool borderA, borderM;
      groupFacts(A, sizeA, borderA);
      groupFacts(M, sizeM, borderM);
      if (borderA || (sizeM < sizeA && !borderM)) {
        // The other group is the smaller one: it jumps onto the dropped one.
        for (int32_t i = 0; i < n; ++i) {
          TILE_P& t = jig.Tiles[i];
          if (t.Group != M) continue;
          t.X -= cx;
          t.Y -= cy;
          ClearSeam(i, A);
          t.Group = A;
        }
      } else {
        for (int32_t i = 0; i < n; ++i) {
          TILE_P& t = jig.Tiles[i];
          if (t.Group != A) continue;
          t.X += cx;
          t.Y += cy;
          ClearSeam(i, M);
        }
        for (TILE_P& t : jig.Tiles)
          if (t.Group == M) t.Group = A;
      }
      ++joins;
      lastP = r;
      lastQ = partner;
    }
  }

  if (joins > 0) {
    JoinCount += joins;
    PlaySound("set.wav", true);
    WeightToBack(jig, weight_.Piece);
    SortPieces(jig, false);
    Picked = -1;
    DragState = kDragIdle;
    RedrawMode = kRedrawAll;
    Present();
    if (options_.ShowJoins) StartStar(lastP, lastQ);
  }
  Picked = -1;
  DragState = kDragIdle;
  CheckComplete();
  SetDirtyFlag();
}

void PlayField::ClearSeam(int32_t i, int32_t group) {
  if (options_.Look.WoodStyle == 0 || options_.Look.EdgeW <= 0 || !GameOpen()) return;
  varlo::ClearSeam(*jig_, i, group, options_.Look.WoodStyle);
  // The bands of i and of its neighbours changed in the layer.
  runs_.Forget(i);
  for (int16_t q : jig_->Tiles[i].Nb) runs_.Forget(q);
}

void PlayField::StartStar(int32_t p, int32_t q) {
  if (p < 0 || q < 0) return;
  const Jigsaw& jig = *jig_;
  const int32_t border = BorderPieceIndex(jig);
  const TILE_P& tp = jig.Tiles[p];
  const TILE_P& tq = jig.Tiles[q];
  int32_t x, y;
  auto onEdge = [&](const TILE_P& t) {
    const JIG_P& j = jig.Jig;
    x = t.BoxX == j.JigsL ? t.X : (t.BoxX + t.BoxW == j.JigsR + 1 ? t.X + t.RotW - 1 : t.X + t.RotW / 2);
    y = t.BoxY == j.JigsT ? t.Y : (t.BoxY + t.BoxH == j.JigsB + 1 ? t.Y + t.RotH - 1 : t.Y + t.RotH / 2);
  };
  if (p == border) {
    onEdge(tq);
  } else if (q == border) {
    onEdge(tp);
  } else {
    x = (tp.X + tp.RotW / 2 + tq.X + tq.RotW / 2) / 2;
    y = (tp.Y + tp.RotH / 2 + tq.Y + tq.RotH / 2) / 2;
  }
  star_.Win = tp.Win;
  const TMyWin& w = Wins[star_.Win];
  star_.X = w.Client.Left + x - w.ScrollX - 11;
  star_.Y = w.Client.Top + y - w.ScrollY - 11;
  star_.Step = 0;
  star_.NextMs = platform_.Time ? platform_.Time->NowMs() : 0;
  RectSetXYWH(DirtyRect, star_.X, star_.Y, kStarSize, kStarSize);
  if (glass_.Win.Shown)
    RectExtend(DirtyRect, glass_.Win.Outer.Left, glass_.Win.Outer.Top, glass_.Win.Outer.Right, glass_.Win.Outer.Bottom);
  if (RedrawMode == kRedrawNone) RedrawMode = kRedrawDirty;
}

void PlayField::AdvanceStar() {
  if (star_.Step < 0) return;
  const int64_t now = platform_.Time ? platform_.Time->NowMs() : star_.NextMs + 6 * kStarStepMs;
  const int64_t step = (now - star_.NextMs) / kStarStepMs;
  if (step == star_.Step) return;
  star_.Step = step >= 6 ? -1 : static_cast<int32_t>(step);
  XRECT dirty;
  RectSetXYWH(dirty, star_.X, star_.Y, kStarSize, kStarSize);
  if (glass_.Win.Shown) RectExtend(dirty, glass_.Win.Outer.Left, glass_.Win.Outer.Top, glass_.Win.Outer.Right, glass_.Win.Outer.Bottom);
  if (RedrawMode == kRedrawNone) {
    RedrawMode = kRedrawDirty;
    DirtyRect = dirty;
  } else if (RedrawMode == kRedrawDirty) {
    RectExtend(DirtyRect, dirty.Left, dirty.Top, dirty.Right, dirty.Bottom);
  }
}

void PlayField::DrawStar(DIB_P& target) {
  if (star_.Step < 0 || star_.Step > 5) return;
  const int32_t frame = kStarFrames[star_.Step];
  if (frame < 0 || skins_.Star.Width <= 0) return;
  XRECT clip;
  RectIntersect(Wins[star_.Win].Client, FieldClip, &clip);
  DibDrawKeyed(target, star_.X, star_.Y, 0xFFFFFF, clip, skins_.Star, 24 * frame, 0, kStarSize, kStarSize,
               kStarSize, kStarSize);
  XRECT r;
  RectSetXYWH(r, star_.X, star_.Y, kStarSize, kStarSize);
  NoteOverlay(r);
}

}  // namespace varlo
