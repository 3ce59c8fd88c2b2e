#include "browser/qt/DatRowsModel.h"

#include "browser/CDatViewModel.h"
#include "base/TextCase.h"

namespace pixmond {

DatRowsModel::DatRowsModel(const CDatViewModel& view, QObject* parent) : QAbstractListModel(parent), view_(view) {}

int DatRowsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

QVariant DatRowsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    // Entry names are single-byte Windows text.
    return QString::fromStdString(Latin1ToUtf8(view_.RowText(index.row())));
}

void DatRowsModel::Reset() {
    beginResetModel();
    count_ = view_.Listed();
    endResetModel();
}

}  // namespace pixmond
