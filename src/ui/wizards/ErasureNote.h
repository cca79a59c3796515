#pragma once

#include <QLabel>
#include <QTimer>

class DeviceChecklist;
class LumoRDM;

// Says, beside a list of fixtures, how many items a job will remove from the checked ones,
// counted in their content trees; while a tree is still being read it says so and counts
// again until all are read.
class ErasureNote : public QLabel {
    Q_OBJECT

public:
    // `count`: the items of one fixture that the job removes. `format`: %1 the items
    // ("3 items"), %2 the fixtures ("2 checked devices").
    ErasureNote(const DeviceChecklist* list, int (LumoRDM::*count)() const, const QString& format,
                QWidget* parent = nullptr);

    void Refresh();

private:
    const DeviceChecklist* m_list;
    int (LumoRDM::*m_count)() const;
    QString m_format;
    QTimer m_reading;  // counts again while a checked fixture's content is being read
};
