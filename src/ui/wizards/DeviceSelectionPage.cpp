#include "ui/wizards/DeviceSelectionPage.h"

#include "ui/wizards/DeviceModelPage.h"
#include "ui/wizards/ErasureNote.h"
#include "ui/wizards/WizardSupport.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

DeviceSelectionPage::DeviceSelectionPage(const QList<Device*>& devices,
                                         const DeviceModelPage* modelPage, const QString& subtitle,
                                         const QList<DeviceChecklist::Column>& columns,
                                         const Erasure& erasure, const Labels& labels,
                                         QWidget* parent)
    : QWizardPage(parent),
      m_devices(devices),
      m_nothingChecked(labels.nothingChecked),
      m_refusalTitle(labels.refusalTitle),
      m_modelPage(modelPage),
      m_model(new QLabel(this)),
      m_list(new DeviceChecklist(columns, this)),
      m_selectAll(new QPushButton(QStringLiteral("Select All"), this)),
      m_clearAll(new QPushButton(QStringLiteral("Clear All"), this)) {
    setTitle(labels.title);
    setSubTitle(subtitle);

    auto* layout = new QVBoxLayout(this);
    auto* model = new QHBoxLayout;
    model->addWidget(new QLabel(labels.model, this));
    model->addWidget(m_model, 1);
    layout->addLayout(model);
    layout->addWidget(new QLabel(labels.list, this));
    auto* list = new QHBoxLayout;
    list->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_selectAll);
    buttons->addWidget(m_clearAll);
    buttons->addStretch(1);
    list->addLayout(buttons);
    layout->addLayout(list, 1);
    if (erasure.count) {
        m_note = new ErasureNote(m_list, erasure.count, erasure.format, this);
        layout->addWidget(m_note);
    }
    connect(m_selectAll, &QPushButton::clicked, m_list, [this] { m_list->SetAllChecked(true); });
    connect(m_clearAll, &QPushButton::clicked, m_list, [this] { m_list->SetAllChecked(false); });
}

void DeviceSelectionPage::initializePage() {
    const QString model = m_modelPage->Model();
    m_model->setText(model);
    m_list->ClearRows();
    for (Device* device : WizardSupport::OfModel(m_devices, model)) {
        m_list->AddFixture(device);
    }
    for (int column = 0; column < m_list->columnCount() - 1; ++column) {
        m_list->resizeColumnToContents(column);
    }
}

bool DeviceSelectionPage::validatePage() {
    if (m_list->CheckedDevices().isEmpty()) {
        return WizardSupport::Refuse(this, m_nothingChecked, m_refusalTitle);
    }
    return true;
}
