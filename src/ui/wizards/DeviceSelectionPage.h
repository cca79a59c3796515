#pragma once

#include "ui/wizards/DeviceChecklist.h"

#include <QWizardPage>

class DeviceModelPage;
class ErasureNote;
class QLabel;
class QPushButton;

// "Select Devices": the LED fixtures of the model chosen on the model page, each with a check
// box, and "Select All" / "Clear All". It does not go on with nothing checked. A page of a
// job that removes content also says how much the checked fixtures will lose.
class DeviceSelectionPage : public QWizardPage {
    Q_OBJECT

public:
    // What a job removes from one fixture and how the page says it (see ErasureNote); a null
    // count: the job removes nothing.
    struct Erasure {
        int (LumoRDM::*count)() const = nullptr;
        QString format;
    };

    DeviceSelectionPage(const QList<LumoRDM*>& fixtures, const DeviceModelPage* modelPage,
                        const QString& subtitle, const QList<DeviceChecklist::Column>& columns,
                        const Erasure& erasure, QWidget* parent = nullptr);

    // Lists the fixtures of the chosen model, none checked.
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
    const QList<LumoRDM*> m_fixtures;
    const DeviceModelPage* m_modelPage;
    QLabel* m_model;  // children of this page
    DeviceChecklist* m_list;
    QPushButton* m_selectAll;
    QPushButton* m_clearAll;
    ErasureNote* m_note = nullptr;
};
