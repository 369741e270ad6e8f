#include "browser/thumb_delegate.h"

#include <QPainter>

#include "files/thumb_draw.h"

namespace varlo {

namespace {
const QColor kSelectionColour(0, 128, 255);
}

QSize ThumbDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int note = index.data(kNoteRole).isValid() ? option.fontMetrics.height() : 0;
  return QSize(kListCellW, kListPictureH + option.fontMetrics.height() + note + 8);
}

void ThumbDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  if (drawingOn_ && !drawingOn_()) return;
  const QRect r = option.rect;
  painter->save();
  if (option.state & QStyle::State_Selected) {
    painter->setPen(QPen(kSelectionColour, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(r).adjusted(1, 1, -1, -1));
  }
  const int textH = option.fontMetrics.height();
  const QString note = index.data(kNoteRole).toString();
  const bool hasNoteLine = index.data(kNoteRole).isValid();
  const int linesH = textH * (hasNoteLine ? 2 : 1);
  const int top = r.top() + (r.height() - kListThumbH - linesH - 5) / 2;
  int image = index.data(kImageIndexRole).toInt();
  if (!cache_ || image < 0 || image >= static_cast<int>(cache_->size())) image = 0;
  if (cache_ && !cache_->empty()) {
    const QImage& pic = (*cache_)[static_cast<size_t>(image)];
    painter->drawImage(r.left() + (r.width() - kListThumbW) / 2, top, pic);
  }
  const QString caption = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideRight, r.width() - 12);
  painter->setPen(option.palette.color(QPalette::Text));
  painter->setFont(option.font);
  painter->drawText(QRect(r.left() + 6, top + kListThumbH + 6, r.width() - 12, textH),
                    Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, caption);
  if (!note.isEmpty()) {
    painter->setPen(option.palette.color(QPalette::PlaceholderText));
    painter->drawText(QRect(r.left() + 6, top + kListThumbH + 6 + textH, r.width() - 12, textH),
                      Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(note, Qt::ElideRight, r.width() - 12));
  }
  painter->restore();
}

}  // namespace varlo
