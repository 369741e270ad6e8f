// The small windows of the game: the about window (also the start-up
// splash), the finish window and the quick help.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace varlo {

struct LANG_P;

// TF_AboutVarloUsa. As the splash it has no border, stays on top and
// ignores clicks; as the dialog (Help > About) it has a dialog border and a
// click anywhere closes it.
class TF_AboutVarloUsa : public QDialog {
  Q_OBJECT
 public:
  TF_AboutVarloUsa(bool splash, const LANG_P* lang, QWidget* parent = nullptr);
  static QImage Background(int w, int h);
  bool IsSplash() const { return splash_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool splash_;
  QImage bkg_;
};

// TF_Finish: "Congratulations!"; OK means the solved picture is to be saved.
class TF_Finish : public QDialog {
  Q_OBJECT
 public:
  TF_Finish(const LANG_P& lang, QWidget* parent = nullptr);
  QPushButton* SaveButton() const { return save_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// TF_Help: the quick help, a tool window that stays on top. Its keys go to
// the main window, so the game keys work while it has the focus.
class TF_Help : public QDialog {
  Q_OBJECT
 public:
  // faces: the toolbar faces of the open, download, menu and two side buttons.
  TF_Help(QWidget* parent, const std::function<QImage(int column)>& face);
  void ApplyTexts(const LANG_P& lang);
  QCheckBox* ShowAtStart() const { return cbShow_; }
  QPushButton* CloseButton() const { return bClose_; }
  QWidget* Panel() const { return inner_; }
  bool CloseBelowCheckBox() const { return closeBelow_; }
  std::function<void(int key, Qt::KeyboardModifiers mods, bool down, bool autoRepeat)> KeyToMain;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  void LayOut();
  QCheckBox* cbShow_ = nullptr;
  QPushButton* bClose_ = nullptr;
  QWidget* inner_ = nullptr;
  QGridLayout* bottom_ = nullptr;
  bool closeBelow_ = false;
  std::vector<QLabel*> texts_;
};

// A small picture of a mouse with one button (or the wheel) marked.
QImage MousePicture(int button /* 0 left, 1 right, 2 wheel */);
// The mouse with its wheel marked and an arrow the way the wheel turns.
QImage WheelPicture(bool up);

}  // namespace varlo
