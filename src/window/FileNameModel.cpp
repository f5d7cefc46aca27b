#include "window/FileNameModel.h"

int FileNameModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileNameModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_names.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_names[std::size_t(index.row())];
    return {};
}

Qt::ItemFlags FileNameModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void FileNameModel::append(const QStringList &names)
{
    if (names.isEmpty())
        return;
    const int first = int(m_names.size());
    beginInsertRows({}, first, first + int(names.size()) - 1);
    m_names.insert(m_names.end(), names.begin(), names.end());
    endInsertRows();
}

void FileNameModel::clear()
{
    beginResetModel();
    std::deque<QString>().swap(m_names);
    endResetModel();
}
