// P_Field: the play field on the screen. It shows the field picture the
// engine composes (FieldImg) and hands pointer events to the play field in
// field coordinates. Only the area the engine reports as changed is
// repainted, so a drag costs the moving pieces' rectangle, not the window.
#pragma once

#include <QWidget>
#include <functional>

namespace varlo {

class PlayField;

class FieldWidget : public QWidget {
  Q_OBJECT
 public:
  explicit FieldWidget(PlayField& field, QWidget* parent = nullptr);

  // Called after every event the field handled (present and star timer).
  std::function<void()> AfterInput;
  // The wheel over the field: up, field x, y.
  std::function<void(bool, int, int)> Wheel;
  // The mouse buttons held down on the field, as its last mouse event left
  // them (a drag keeps them until its release, wherever the pointer is).
  Qt::MouseButtons ButtonsHeld() const { return held_; }
  // Area repaints asked for since the counter was reset (tests look at them).
  int RepaintRequests = 0;
  QRect LastRepaint;
  void RequestRepaint(const QRect& r);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  PlayField& field_;
  Qt::MouseButtons held_ = Qt::NoButton;
};

// Button code of the play options for a Qt button (-1 for others), and the
// modifier bits.
int FieldButton(Qt::MouseButton b);
int FieldHeld(Qt::MouseButtons b);
int FieldMods(Qt::KeyboardModifiers m);

}  // namespace varlo
