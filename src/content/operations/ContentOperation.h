#pragma once

#include <QList>
#include <QObject>
#include <QString>

class ContentBase;
class IFeedback;

// One change to content, in the library or in fixtures, run once on a worker thread under a
// progress dialog (or by the command-line tool) through the folder interface only.
class ContentOperation : public QObject {
    Q_OBJECT

public:
    enum Outcome { Succeeded = 0, Failed = 1, Cancelled = 2 };
    // Option bit 0: stop at the first failing item (the move operation honours it).
    static constexpr int kStopOnFailure = 1;

    ContentOperation() = default;

    virtual QString Title() const = 0;
    virtual bool CanExecute() const = 0;
    // 0 success, 1 failure, 2 cancelled.
    virtual int Execute(IFeedback* feedback, int options) = 0;

    // The item's name for one item, else "%1 files" with the count.
    static QString ItemsText(const QList<ContentBase*>& items);

signals:
    void InformationMessageBox(const QString& title, const QString& text);
};
