#include "tools/qt/DlgPals.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/PathParts.h"
#include "tools/qt/CPaletteGrid.h"
#include "tools/qt/ClickableLabel.h"
#include "ui/AppSettings.h"
#include "ui/Pickers.h"
#include "ui/Services.h"
#include "ui/qt/QtText.h"

namespace pixmond {

namespace {
const char* const kColumnTitles[] = {" Pal. Index ", " 1st Palette (R,G,B) ", " 2nd Palette (R,G,B) "};
}

DlgPals::DlgPals(ViewContext& context, PaletteComparison palettes, QWidget* parent)
    : QDialog(parent), context_(context), palettes_(std::move(palettes)) {
    setWindowTitle(QStringLiteral("Compare palettes tool"));
    setSizeGripEnabled(true);
    palettes_.Start();

    auto* top = new QGridLayout;
    const char* sideTexts[2][2] = {{"1st", "Load the 1st palette from a file"},
                                   {"2nd", "Load the 2nd palette from a file"}};
    for (int which = 0; which < 2; ++which) {
        names_[which] = new ClickableLabel(QString(), this);
        loads_[which] = new QPushButton(QStringLiteral("..."), this);
        loads_[which]->setToolTip(QString::fromLatin1(sideTexts[which][1]));
        loads_[which]->setAccessibleName(QString::fromLatin1(sideTexts[which][1]));
        loads_[which]->setAutoDefault(false);
        loads_[which]->setFixedWidth(loads_[which]->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
        grids_[which] = new CPaletteGrid(palettes_.Side(which).table, this);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QString::fromLatin1(sideTexts[which][0]), this));
        row->addWidget(names_[which], 1);
        row->addWidget(loads_[which]);
        top->addLayout(row, 0, which);
        top->addWidget(grids_[which], 1, which, Qt::AlignLeft | Qt::AlignTop);
        connect(names_[which], &ClickableLabel::clicked, this, [this, which] { LoadPalette(which); });
        connect(loads_[which], &QPushButton::clicked, this, [this, which] { LoadPalette(which); });
        connect(grids_[which], &CPaletteGrid::indexClicked, this, &DlgPals::SelectIndex);
    }
    top->setColumnStretch(0, 1);
    top->setColumnStretch(1, 1);

    list_ = new QTableWidget(0, 3, this);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setSortingEnabled(false);
    list_->verticalHeader()->hide();
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    for (int column = 0; column < 3; ++column) {
        const QString title = QString::fromLatin1(kColumnTitles[column]);
        auto* header = new QTableWidgetItem(title);
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(column, header);
        // A column as wide as its title and a little more, and never narrower than its numbers.
        const int titleWidth = list_->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 15;
        const int numbers = list_->fontMetrics().horizontalAdvance(QStringLiteral("255, 255, 255")) + 15;
        list_->setColumnWidth(column, std::max(titleWidth, numbers));
    }
    // Every column in view, and a few rows, whatever the dialog's size.
    int listWidth = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < 3; ++column) listWidth += list_->columnWidth(column);
    list_->setMinimumWidth(listWidth);
    list_->setMinimumHeight(list_->horizontalHeader()->sizeHint().height() +
                            8 * list_->verticalHeader()->defaultSectionSize() + 2 * list_->frameWidth());
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setSectionsClickable(false);

    only_ = new QCheckBox(QStringLiteral("Show only different indexes"), this);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setDefault(true);
    auto* hint = new QLabel(QStringLiteral("Click on any color rect. to see palette index and entries on list"), this);
    hint->setWordWrap(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(only_);
    bottom->addStretch(1);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(hint);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);

    setTabOrder(loads_[0], loads_[1]);
    setTabOrder(loads_[1], list_);
    setTabOrder(list_, only_);
    setTabOrder(only_, close_);

    connect(only_, &QCheckBox::toggled, this, [this](bool on) {
        palettes_.onlyDifferences = on;
        FillList();
        update();
        PushFields();
    });
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) selectedRow_ = row;
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    FillList();
    PushFields();
    resize(sizeHint().width(), 560);
}

void DlgPals::FillList() {
    const auto rows = palettes_.Rows();
    list_->setRowCount(0);
    list_->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const PaletteComparison::Row& row = rows[size_t(r)];
        int column = 0;
        for (const std::string* text : {&row.indexText, &row.firstText, &row.secondText})
            list_->setItem(r, column++, new QTableWidgetItem(QString::fromStdString(*text)));
    }
    SelectRow(-1);
}

void DlgPals::SelectRow(int row) {
    selectedRow_ = row;
    if (row < 0 || row >= list_->rowCount()) {
        selectedRow_ = -1;
        list_->clearSelection();
        list_->setCurrentCell(-1, -1);
        return;
    }
    list_->setCurrentCell(row, 0);
    list_->selectRow(row);
    list_->scrollToItem(list_->item(row, 0));
}

void DlgPals::SelectIndex(int index) { SelectRow(palettes_.RowOfIndex(index)); }

void DlgPals::LoadPalette(int which) {
    const std::string path = context_.pickers.PickFile(PaletteComparison::PickerStart(context_.settings.PalFolder()),
                                                       PaletteComparison::kPickTitle, PaletteComparison::kPickFilter,
                                                       PaletteComparison::kPickExtension, true);
    if (path.empty()) return;
    context_.settings.SetPalFolder(PathParts::Of(path).folder);
    if (!palettes_.Load(which, path, context_.services.messages)) return;
    FillList();
    grids_[which]->update();
    PushFields();
}

void DlgPals::PushFields() {
    for (int which = 0; which < 2; ++which) {
        const QString name = ToQString(palettes_.Side(which).name);
        names_[which]->setText(name);
        names_[which]->setToolTip(name);
    }
    only_->setChecked(palettes_.onlyDifferences);
}

}  // namespace pixmond
