#pragma once

#include <QWizardPage>

class Device;
class QComboBox;

// "Select Device Model": the models of the devices in a combo box, which is the wizard's
// field "model"; the page is complete while a model is chosen.
class DeviceModelPage : public QWizardPage {
    Q_OBJECT

public:
    // `label` stands before the combo box.
    DeviceModelPage(const QList<Device*>& devices, const QString& subtitle,
                    const QString& label = QStringLiteral("Model to update:"),
                    QWidget* parent = nullptr);

    QString Model() const;
    QComboBox* ModelBox() const { return m_models; }
    bool isComplete() const override;

private:
    QComboBox* m_models;  // a child of this page
};
