#pragma once

#include "ui/wizards/DeviceChecklist.h"

#include <QWizardPage>

class DeviceModelPage;
class ErasureNote;
class QLabel;
class QPushButton;

// "Select Devices": the devices of the model chosen on the model page, each with a check box,
// and "Select All" / "Clear All". It does not go on with nothing checked. A page of a job
// that removes content also says how much the checked fixtures will lose.
class DeviceSelectionPage : public QWizardPage {
    Q_OBJECT

public:
    // What a job removes from one fixture and how the page says it (see ErasureNote); a null
    // count: the job removes nothing.
    struct Erasure {
        int (LumoRDM::*count)() const = nullptr;
        QString format;
    };
    // The page's own texts.
    struct Labels {
        QString title = QStringLiteral("Select Devices");
        QString model = QStringLiteral("Model:");
        QString list = QStringLiteral("Select devices:");
        QString nothingChecked = QStringLiteral(
            "No devices selected.  Select one or more devices to update before continuing.");
        QString refusalTitle;  // empty: the wizard's title
    };

    DeviceSelectionPage(const QList<Device*>& devices, const DeviceModelPage* modelPage,
                        const QString& subtitle, const QList<DeviceChecklist::Column>& columns,
                        const Erasure& erasure, const Labels& labels, QWidget* parent = nullptr);

    // Lists the devices of the chosen model, none checked.
    void initializePage() override;
    bool validatePage() override;

    QList<Device*> CheckedDevices() const { return m_list->CheckedDevices(); }
    DeviceChecklist* List() const { return m_list; }
    QLabel* ModelLabel() const { return m_model; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QPushButton* ClearAllButton() const { return m_clearAll; }
    // Null on pages of jobs that remove nothing.
    ErasureNote* Note() const { return m_note; }

private:
    const QList<Device*> m_devices;
    const QString m_nothingChecked;
    const QString m_refusalTitle;
    const DeviceModelPage* m_modelPage;
    QLabel* m_model;  // children of this page
    DeviceChecklist* m_list;
    QPushButton* m_selectAll;
    QPushButton* m_clearAll;
    ErasureNote* m_note = nullptr;
};
