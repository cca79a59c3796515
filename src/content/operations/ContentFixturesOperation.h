#pragma once

#include "content/operations/ContentOperation.h"

#include <QPointer>

class ContentFolder;
class Device;
class LumoRDM;

// Whether an object is a T (the family tables of the updates hold these).
template <class T>
bool IsInstanceOf(const QObject* object) {
    return qobject_cast<const T*>(object) != nullptr;
}

// An operation on the LED fixtures of a list of devices (other devices are passed over).
// For the updates it also runs the clones they are made of and keeps their tally.
class ContentFixturesOperation : public ContentOperation {
    Q_OBJECT

public:
    // The list is not empty.
    bool CanExecute() const override;

protected:
    explicit ContentFixturesOperation(const QList<Device*>& devices);

    int DeviceCount() const { return int(m_devices.size()); }
    // The fixture at that place of the list, or null (another device, or one gone).
    LumoRDM* FixtureAt(int index) const;

    // An update runs BeginUpdate, then its clones and failures, then returns EndUpdate.
    void BeginUpdate(IFeedback* feedback);
    // Clones `source` onto `locations` (a broadcast where fixtures share a folder) as a step
    // with [start, end] of the progress; true when the operation was cancelled meanwhile.
    bool UpdateStep(IFeedback* feedback, ContentFolder* source,
                    const QList<ContentFolder*>& locations, int options, int start, int end);
    // Marks the update failed, with the line when there is one.
    void Fail(IFeedback* feedback, const QString& line = QString());
    // The result after a cancel.
    int CancelledUpdate() const { return m_failed ? Failed : Cancelled; }
    // The progress full and, when no clone took a step, `upToDate` said in a box titled
    // `title`; the result.
    int EndUpdate(IFeedback* feedback, const QString& title, const QString& upToDate);

private:
    QList<QPointer<Device>> m_devices;
    bool m_failed = false;
    int m_steps = 0;
};
