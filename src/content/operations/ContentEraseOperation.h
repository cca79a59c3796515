#pragma once

#include "content/operations/ContentFixturesOperation.h"
#include "lumo/commands/LumoEraseContentCommand.h"

// Deletes one kind of content from every LED fixture of a list, one step per fixture;
// other devices of the list are passed over. Goes on after a failing fixture.
class ContentEraseOperation : public ContentFixturesOperation {
    Q_OBJECT

public:
    QString Title() const override;
    int Execute(IFeedback* feedback, int options) override;

protected:
    // `title`: with %1 for the number of devices.
    ContentEraseOperation(const QList<Device*>& devices, LumoEraseContentCommand::Kind kind,
                          const QString& title);

private:
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
