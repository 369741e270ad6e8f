// Small widgets of the open dialog: a picture cut from a choice strip that
// reports presses, the dotted frame around the chosen picture, a label that
// reports presses, and a panel that reports presses with their modifiers.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QWidget>

#include "raster/dib.h"

namespace varlo {

// Picture `index` of a strip of pictures w x h standing `pitch` apart; the
// upper half of the strip is the normal look, the lower half the greyed one.
class ChoicePicture : public QWidget {
  Q_OBJECT
 public:
  ChoicePicture(const QString& name, QWidget* parent);
  void SetStrip(const DIB_P* strip, int index, int w, int h, int pitch);
  void SetLookEnabled(bool on);
  bool LookEnabled() const { return lookEnabled_; }
  // A choice that is on or off: an off picture shows the greyed look, and a
  // badge in the corner says which (a tick on green, a bar on grey).
  // kNoSwitch (the default) draws neither.
  static constexpr int kNoSwitch = -1;
  void SetSwitch(int on);
  int Switch() const { return switch_; }

 signals:
  void pressed();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  const DIB_P* strip_ = nullptr;
  int index_ = 0, w_ = 0, h_ = 0, pitch_ = 0;
  bool lookEnabled_ = true;
  int switch_ = kNoSwitch;
};

// The dotted frame drawn around the chosen picture (4 pixels wider on every
// side); it lets presses through.
class SelectionFrame : public QWidget {
 public:
  SelectionFrame(const QString& name, QWidget* parent);
  void Surround(const QWidget* target);

 protected:
  void paintEvent(QPaintEvent*) override;
};

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  ClickLabel(const QString& name, QWidget* parent);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent*) override;
};

class ClickPanel : public QFrame {
  Q_OBJECT
 public:
  ClickPanel(const QString& name, QWidget* parent);

 signals:
  void pressed(Qt::KeyboardModifiers modifiers);

 protected:
  void mousePressEvent(QMouseEvent*) override;
};

}  // namespace varlo
