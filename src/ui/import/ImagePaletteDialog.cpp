#include "ui/import/ImagePaletteDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSwatchEdge = 14;

// A cell that sorts by number.
QTableWidgetItem* NumberCell(int value) {
    auto* cell = new QTableWidgetItem;
    cell->setData(Qt::DisplayRole, value);
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

QTableWidgetItem* ColourCell(QRgb colour) {
    auto* cell = new QTableWidgetItem(
        QStringLiteral("%1 %2 %3").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour)));
    QPixmap swatch(kSwatchEdge, kSwatchEdge);
    swatch.fill(QColor::fromRgb(colour));
    cell->setData(Qt::DecorationRole, swatch);
    return cell;
}

}  // namespace

ImagePaletteDialog::ImagePaletteDialog(const QString& family, const LEDPalette& palette,
                                       const Uses& uses, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setWindowTitle(tr("%1 Image Palette").arg(family));
    m_table->setColumnCount(4);
    m_table->setHorizontalHeaderLabels({tr("Frames"), tr("Pixels"), tr("Color"), tr("Index")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (size_t index = 0; index < uses.size(); ++index) {
        if (uses[index].pixels == 0) {
            continue;
        }
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, NumberCell(uses[index].frames));
        m_table->setItem(row, 1, NumberCell(uses[index].pixels));
        m_table->setItem(row, 2, ColourCell(palette[index]));
        m_table->setItem(row, 3, NumberCell(int(index)));
    }
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(3, Qt::AscendingOrder);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(360, 420);
}
