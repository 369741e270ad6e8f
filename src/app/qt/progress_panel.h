// P_Progress: the panel shown over the play field during long work (a new
// game, resuming, saving). Each step repaints the bar and lets the window
// system handle pending events, so the window stays painted; the main
// window disables its commands while the panel is up.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "platform/progress.h"

namespace varlo {

class ProgressPanel : public QWidget, public Progress {
  Q_OBJECT
 public:
  static constexpr int kPanelW = 420;
  static constexpr int kPanelH = 100;

  explicit ProgressPanel(QWidget* parent = nullptr);
  // Builds the background and the two bars from the window skin.
  void LoadSkin(const QImage& windowSkin);

  // ShowProgress, SetProgress, StepProgress, HideProgress.
  void ShowProgress(const QString& text, int steps);
  void SetProgress(int position);
  void StepProgress() { SetProgress(position_ + 1); }
  void HideProgress();
  bool Shown() const { return shown_; }
  int Position() const { return position_; }
  int Maximum() const { return maximum_; }
  int BarWidth() const;  // the full bar's width now
  QString Caption() const { return caption_; }

  // Progress
  void Begin(const std::string& caption, int32_t steps) override;
  void Step() override { StepProgress(); }
  void End() override { HideProgress(); }

  // Where to centre the panel and what to switch on and off.
  std::function<QRect()> FieldRect;
  std::function<void(bool)> EnableCommands;
  // Steps taken in this run (tests).
  int StepsTaken = 0;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  static void PaintThreePart(QPainter& p, const QImage& skin, int sx, int sy, int pieceW, int h,
                             const QRect& target);
  void Pump();
  QImage skin_;
  QString caption_;
  int position_ = 0;
  int maximum_ = 100;
  bool shown_ = false;
};

}  // namespace varlo
