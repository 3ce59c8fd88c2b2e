#pragma once
#include <QAbstractListModel>

namespace pixmond {

class CDatViewModel;

// The archive browser's rows as a list model: the list view asks only for the rows it shows, so an archive of
// thirty thousand entries lists at once.
class DatRowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    DatRowsModel(const CDatViewModel& view, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The rows were decided afresh.
    void Reset();

private:
    const CDatViewModel& view_;
    int count_ = 0;
};

}  // namespace pixmond
