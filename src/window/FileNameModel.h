#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <deque>

// The names of the found-file list, row k for found file k. Names are only
// appended (a search adds them in the order found) or all removed.
class FileNameModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Adds the names at the end, in one insertion.
    void append(const QStringList &names);
    // Removes every name.
    void clear();

    const QString &name(int row) const { return m_names[std::size_t(row)]; }

  private:
    // In blocks: growing never copies the names nor leaves spare room behind.
    std::deque<QString> m_names;
};
