#include "ui/wizards/DeviceModelPage.h"

#include "ui/wizards/WizardSupport.h"

#include <QComboBox>
#include <QFormLayout>

DeviceModelPage::DeviceModelPage(const QList<LumoRDM*>& fixtures, const QString& subtitle,
                                 QWidget* parent)
    : QWizardPage(parent), m_models(new QComboBox(this)) {
    setTitle(QStringLiteral("Select Device Model"));
    setSubTitle(subtitle);
    m_models->addItems(WizardSupport::Models(fixtures));
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Model to update:"), m_models);
    connect(m_models, &QComboBox::currentIndexChanged, this, &QWizardPage::completeChanged);
}

QString DeviceModelPage::Model() const {
    return m_models->currentText();
}

bool DeviceModelPage::isComplete() const {
    return m_models->currentIndex() >= 0;
}
