#pragma once

#include <QStyledItemDelegate>

// Paints the Cleared and Class cells of the library list in the colour of
// their lamp, the text kept: a palette that colour-blind eyes tell apart
// (Okabe and Ito's), each colour with the text colour of the higher
// contrast, so that the cells read alike in light and dark themes.
class LampDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
