#pragma once

#include "content/ContentFolder.h"
#include "lumo/tree/LumoCommandMap.h"

#include <QList>
#include <QPointer>
#include <QUuid>

class LumoContentMultiUploadCommand;
class LumoImageKind;
class LumoRDMContentFolder;

// The same folder on several fixtures of one family: content added to it is uploaded to all
// of them at once, and each fixture's folder shows what it took. It shows no items itself.
class LumoRDMContentAggregate : public ContentFolder {
    Q_OBJECT

public:
    // The folders it stands for that still exist.
    QList<LumoRDMContentFolder*> Folders() const;
    // The folder number they share.
    quint8 Number() const;
    virtual const LumoImageKind& ImageKind() const = 0;

    int ChildCount() const override;
    // There are no children: every index is out of range.
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    int MinAddress() const override;
    int MaxAddress() const override;
    bool AcceptsContent(const Content* content) const override;
    // Checked against every folder; uploaded to all their fixtures by one broadcast.
    bool AddContent(ContentList items, IFeedback* feedback) override;

public Q_SLOTS:
    void OnCommandFinished(QUuid commandId);
    void OnFinishedContentUpload(QUuid command, unsigned short file, bool bResult);

protected:
    // The folders must share one number and be of the aggregate's family.
    explicit LumoRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders);

    virtual std::unique_ptr<LumoContentMultiUploadCommand> NewUploadCommand() const = 0;

private:
    QList<QPointer<LumoRDMContentFolder>> m_folders;
    LumoCommandMap m_commands;
};

class MarqaRDMContentAggregate : public LumoRDMContentAggregate {
    Q_OBJECT

public:
    explicit MarqaRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders);
    const LumoImageKind& ImageKind() const override;

protected:
    std::unique_ptr<LumoContentMultiUploadCommand> NewUploadCommand() const override;
};

class SolviRDMContentAggregate : public LumoRDMContentAggregate {
    Q_OBJECT

public:
    explicit SolviRDMContentAggregate(const QList<LumoRDMContentFolder*>& folders);
    const LumoImageKind& ImageKind() const override;

protected:
    std::unique_ptr<LumoContentMultiUploadCommand> NewUploadCommand() const override;
};
