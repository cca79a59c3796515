#pragma once

#include "content/operations/ContentOperation.h"
#include "lumo/commands/LumoEraseContentCommand.h"

#include <QPointer>

class Device;

// Deletes one kind of content from every LED fixture of a list, one step per fixture;
// other devices of the list are passed over. Goes on after a failing fixture.
class ContentEraseOperation : public ContentOperation {
    Q_OBJECT

public:
    QString Title() const override;
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

protected:
    // `title`: with %1 for the number of devices.
    ContentEraseOperation(const QList<Device*>& devices, LumoEraseContentCommand::Kind kind,
                          const QString& title);

private:
    QList<QPointer<Device>> m_devices;
    LumoEraseContentCommand::Kind m_kind;
    QString m_title;
};

class ContentDeleteUserContentOperation : public ContentEraseOperation {
    Q_OBJECT

public:
    explicit ContentDeleteUserContentOperation(const QList<Device*>& devices);
};

class ContentDeleteQuorelContentOperation : public ContentEraseOperation {
    Q_OBJECT

public:
    explicit ContentDeleteQuorelContentOperation(const QList<Device*>& devices);
};
