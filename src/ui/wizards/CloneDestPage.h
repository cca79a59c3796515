#pragma once

#include <QWizardPage>

class CloneSourcePage;
class DeviceChecklist;
class ErasureNote;
class LumoRDM;
class QLabel;

// "Select Destination Devices": the LED fixtures of the source's family (the source fixture
// itself left out) to check as destinations, with how much of their user content the clone
// will remove or replace. It does not go on with nothing checked, nor while a source fixture's
// content has not been read whole: a clone of part of it would remove the rest from the
// destinations.
class CloneDestPage : public QWizardPage {
    Q_OBJECT

public:
    CloneDestPage(const QList<LumoRDM*>& fixtures, const CloneSourcePage* sourcePage,
                  QWidget* parent = nullptr);

    void initializePage() override;
    bool validatePage() override;

    QList<LumoRDM*> Destinations() const;
    QLabel* SourceLabel() const { return m_source; }
    DeviceChecklist* List() const { return m_list; }
    ErasureNote* Note() const { return m_note; }

private:
    const QList<LumoRDM*> m_fixtures;
    const CloneSourcePage* m_sourcePage;
    QLabel* m_source;  // children of this page
    DeviceChecklist* m_list;
    ErasureNote* m_note;
};
