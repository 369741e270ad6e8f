// P_Toolbar: the strip of 23 image buttons at the top of the main window,
// drawn from the toolbar skin (faces) and the window skin (background).
// The strip paints itself; a button repaints only its own 29 x 29 square.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "app/toolbar_layout.h"

namespace varlo {

class SkinToolbar : public QWidget {
  Q_OBJECT
 public:
  explicit SkinToolbar(QWidget* parent = nullptr);

  // The skins; false when the toolbar skin is missing (the buttons then
  // show their names on plain faces).
  bool LoadSkins(const QString& toolbarSkin, const QString& windowSkin);
  const QImage& FaceSkin() const { return skin_; }
  const QImage& WindowSkin() const { return windowSkin_; }
  // The face of skin column col in row face (kFaceNormal, kFaceHot, kFaceDisabled).
  QImage Face(int32_t column, int32_t face) const;

  void Layout(int32_t width, bool fullScreen);
  void SetButtonEnabled(int32_t b, bool on);
  void SetButtonDown(int32_t b, bool down);
  void SetButtonImage(int32_t b, int32_t column);  // -1: the button's own column
  void SetHint(int32_t b, const QString& hint);
  bool ButtonEnabled(int32_t b) const { return state_[static_cast<size_t>(b)].Enabled; }
  bool ButtonDown(int32_t b) const { return state_[static_cast<size_t>(b)].Down; }
  bool ButtonVisible(int32_t b) const { return places_[static_cast<size_t>(b)].Visible; }
  int32_t ButtonImage(int32_t b) const { return state_[static_cast<size_t>(b)].Column; }
  QRect ButtonRect(int32_t b) const;
  int32_t HotButton() const { return hot_; }
  void ClearHot();

  // A released button runs its menu item.
  std::function<void(int32_t button)> Clicked;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;
  bool event(QEvent* e) override;

 private:
  struct ButtonState {
    int32_t Column = 0;
    bool Enabled = true;
    bool Down = false;
    QString Hint;
  };
  int32_t ButtonAt(const QPoint& p) const;
  void Repaint(int32_t b);
  void BuildBackground(int32_t width);

  QImage skin_;
  QImage windowSkin_;
  QPixmap background_;
  std::array<ButtonState, kToolButtonCount> state_{};
  std::array<ToolButtonPlace, kToolButtonCount> places_{};
  int32_t hot_ = -1;
  int32_t pressed_ = -1;
  bool fullScreen_ = false;
};

}  // namespace varlo
