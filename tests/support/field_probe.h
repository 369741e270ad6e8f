// A look inside a play field for tests and benchmarks: its window records,
// drag state and buffers, and the internal steps (compose, lens mask,
// picking) that a test drives one at a time. The game itself only uses
// PlayField's public calls.
#pragma once

#include <memory>

#include "play/play_field.h"

namespace varlo::testing {

class FieldProbe {
 public:
  explicit FieldProbe(PlayField& f) : f_(f) {}

  // ---- state ----
  FieldOptions& options() { return f_.options_; }
  FieldPaths& paths() { return f_.paths_; }
  std::string& JigName() { return f_.JigName; }
  std::string& InfoText() { return f_.InfoText; }
  bool& InputEnabled() { return f_.inputEnabled_; }
  DIB_P& FieldImg() { return f_.FieldImg; }
  DIB_P& StaticImg() { return f_.StaticImg; }
  XRECT& FieldClip() { return f_.FieldClip; }
  uint8_t& RedrawMode() { return f_.RedrawMode; }
  std::array<TMyWin, kFieldWindows>& Wins() { return f_.Wins; }
  TMyWin& Glass() { return f_.glass_.Win; }
  GlassState& GlassOf() { return f_.glass_; }
  double& LensA() { return f_.glass_.LensA; }
  double& LensB() { return f_.glass_.LensB; }
  std::array<int32_t, kFieldWindows>& Stack() { return f_.Stack; }
  int32_t& Current() { return f_.Current; }
  int32_t& FW() { return f_.FW; }
  int32_t& FH() { return f_.FH; }
  int32_t& CW() { return f_.CW; }
  int32_t& CH() { return f_.CH; }
  int32_t& SideIndex() { return f_.SideIndex; }
  uint8_t& bSolved() { return f_.bSolved; }
  int32_t& DragState() { return f_.DragState; }
  int32_t& Picked() { return f_.Picked; }
  bool& Selection() { return f_.Selection; }
  XRECT& Band() { return f_.Band; }
  PlayField::FrameDrag& Frame() { return f_.Frame; }
  WeightState& Weight() { return f_.weight_; }
  bool& WeightMode() { return f_.weight_.Placing; }
  int32_t& WeightedPiece() { return f_.weight_.Piece; }
  StarState& Star() { return f_.star_; }
  BkgBlock& Bkgs() { return f_.Bkgs; }
  DIB_P& BkgPic() { return f_.BkgPic; }
  int32_t& JoinCount() { return f_.JoinCount; }
  int32_t& ComposeThreads() { return f_.ComposeThreads; }

  // ---- internal steps ----
  void Compose(DIB_P& target, const XRECT& clip, int32_t mode) { f_.Compose(target, clip, mode); }
  void MakeLensMask() { f_.MakeLensMask(); }
  void MapThroughGlass(int32_t& x, int32_t& y) const { f_.MapThroughGlass(x, y); }
  bool InLens(int32_t x, int32_t y) const { return f_.InLens(x, y); }
  int32_t PickPiece(int32_t x, int32_t y) { return f_.PickPiece(x, y); }
  void ShowPocket(int32_t pocket, bool on) { f_.ShowPocket(pocket, on); }
  void Scroll(int32_t ref, int32_t code, int32_t dx, int32_t dy) { f_.Scroll(ref, code, dx, dy); }
  void SetBkg(int32_t window, int32_t value) { f_.SetBkg(window, value); }
  int32_t SnapTolerance() const { return f_.SnapTolerance(); }
  void BringIntoView(int32_t window, bool strict) { f_.BringIntoView(window, strict); }

 private:
  PlayField& f_;
};

inline FieldProbe Probe(PlayField& f) { return FieldProbe(f); }
inline FieldProbe Probe(const std::unique_ptr<PlayField>& f) { return FieldProbe(*f); }

}  // namespace varlo::testing
