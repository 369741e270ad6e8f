// The drawing of one list item (LV_JigsCustomDrawItem): the cached 180 x 135
// picture centred in the cell, the caption below it on one line with an
// ellipsis, the note line under it, and a two-pixel frame around a selected
// item.
#pragma once

#include <QImage>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

namespace varlo {

inline constexpr int kListCellW = 196;
inline constexpr int kListPictureH = 151;
inline constexpr int kImageIndexRole = Qt::UserRole + 1;
// A second, smaller line under the caption (a saved game's date and
// progress); items without one draw none.
inline constexpr int kNoteRole = Qt::UserRole + 2;

class ThumbDelegate : public QStyledItemDelegate {
 public:
  ThumbDelegate(const std::vector<QImage>* cache, std::function<bool()> drawingOn,
                QObject* parent)
      : QStyledItemDelegate(parent), cache_(cache), drawingOn_(std::move(drawingOn)) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const std::vector<QImage>* cache_;
  std::function<bool()> drawingOn_;
};

}  // namespace varlo
