#include "ui/wizards/UpgradeFirmwareFilePage.h"

#include "rdm/devices/Device.h"
#include "ui/LastPathFileDialog.h"
#include "ui/wizards/WizardSupport.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

UpgradeFirmwareFilePage::UpgradeFirmwareFilePage(const QList<Device*>& devices, QWidget* parent)
    : QWizardPage(parent),
      m_devices(devices),
      m_model(new QLabel(this)),
      m_file(new QLineEdit(this)),
      m_browse(new QPushButton(QStringLiteral("Browse..."), this)) {
    setTitle(QStringLiteral("Select Software File"));
    setSubTitle(
        QStringLiteral("Specify the file containing the software for the selected device model."));
    auto* file = new QHBoxLayout;
    file->addWidget(m_file, 1);
    file->addWidget(m_browse);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Device Model:"), m_model);
    layout->addRow(QStringLiteral("Software File:"), file);
    registerField(QStringLiteral("file*"), m_file);
    connect(m_browse, &QPushButton::clicked, this, &UpgradeFirmwareFilePage::Browse);
}

void UpgradeFirmwareFilePage::initializePage() {
    m_model->setText(field(QStringLiteral("model")).toString());
}

void UpgradeFirmwareFilePage::Browse() {
    const Device* device =
        WizardSupport::OfModel(m_devices, field(QStringLiteral("model")).toString()).value(0);
    const QString file = LastPathFileDialog::Open(
        this, QStringLiteral("Select Software Upgrade File"), QString::fromLatin1(kFolderKey),
        device ? device->GetFirmwarePackagePattern() : QString());
    if (!file.isEmpty()) {
        m_file->setText(file);
    }
}
