#include "progresswidget.h"

#include <QHeaderView>

#include "progressdelegate.h"
#include "progressmodel.h"
#include "ui_progresswidget.h"

namespace {
struct FixedColumn {
    int column;
    int width;
};
const FixedColumn kFixedColumns[] = {
    {ProgressModel::ProgressColumn, 350},
    {ProgressModel::OperationColumn, 76},
    {ProgressModel::NoteColumn, 80},
};
}  // namespace

ProgressWidget::ProgressWidget(QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::ProgressWidget>()),
      model_(new ProgressModel(this)),
      delegate_(new ProgressDelegate(this)) {
    ui_->setupUi(this);
    QTableView* view = ui_->progressTable;
    view->setModel(model_);
    view->setItemDelegate(delegate_);
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const FixedColumn& fixed : kFixedColumns) {
        view->horizontalHeader()->setSectionResizeMode(fixed.column, QHeaderView::Fixed);
        view->horizontalHeader()->resizeSection(fixed.column, fixed.width);
    }
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    connect(delegate_, &ProgressDelegate::cancled, this, &ProgressWidget::slotCancled);
}

ProgressWidget::~ProgressWidget() = default;

QTableView* ProgressWidget::table() const {
    return ui_->progressTable;
}

void ProgressWidget::updateRow(const QString& device, int percent, const QString& note) {
    ProgressItem item;
    item.device = device;
    item.progress = qBound(0, percent, 100);
    item.note = note;
    if (!model_->updateItem(item)) return;
    ui_->progressTable->resizeColumnToContents(ProgressModel::DeviceColumn);
    setFixedWidth(contentWidth());
}

void ProgressWidget::clearRows() {
    model_->clearItems();
    setFixedWidth(kClearedWidth);
}

int ProgressWidget::rowCount() const {
    return model_->rowCount();
}

int ProgressWidget::contentWidth() const {
    const QHeaderView* header = ui_->progressTable->horizontalHeader();
    int width = 0;
    for (int column = 0; column < header->count(); ++column) width += header->sectionSize(column);
    return width;
}

void ProgressWidget::slotCancled(const QModelIndex& index) {
    emit cancled(model_->index(index.row(), ProgressModel::DeviceColumn).data().toString());
}
