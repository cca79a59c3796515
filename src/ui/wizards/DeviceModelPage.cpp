#include "ui/wizards/DeviceModelPage.h"

#include "ui/wizards/WizardSupport.h"

#include <QComboBox>
#include <QFormLayout>

DeviceModelPage::DeviceModelPage(const QList<Device*>& devices, const QString& subtitle,
                                 const QString& label, QWidget* parent)
    : QWizardPage(parent), m_models(new QComboBox(this)) {
    setTitle(QStringLiteral("Select Device Model"));
    setSubTitle(subtitle);
    m_models->addItems(WizardSupport::Models(devices));
    auto* layout = new QFormLayout(this);
    layout->addRow(label, m_models);
    // isComplete decides when the page may go on, by the model text.
    registerField(QStringLiteral("model*"), m_models, "currentText",
                  SIGNAL(currentTextChanged(QString)));
    connect(m_models, &QComboBox::currentTextChanged, this, &QWizardPage::completeChanged);
}

QString DeviceModelPage::Model() const {
    return m_models->currentText();
}

bool DeviceModelPage::isComplete() const {
    return !Model().isEmpty();
}
