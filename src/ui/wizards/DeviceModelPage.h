#pragma once

#include <QWizardPage>

class LumoRDM;
class QComboBox;

// "Select Device Model": the models of the discovered LED fixtures in a combo box; the page
// is complete while a model is chosen.
class DeviceModelPage : public QWizardPage {
    Q_OBJECT

public:
    DeviceModelPage(const QList<LumoRDM*>& fixtures, const QString& subtitle,
                    QWidget* parent = nullptr);

    QString Model() const;
    QComboBox* ModelBox() const { return m_models; }
    bool isComplete() const override;

private:
    QComboBox* m_models;  // a child of this page
};
