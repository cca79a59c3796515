#pragma once

#include "ui/actions/ContentBaseAction.h"

// "Copy" and "Cut": put the items on the clipboard in the content format, as a source of the
// kind that says which (a cut is moved where it is pasted, when it can be).
class ContentBaseCopyAction : public ContentBaseAction {
    Q_OBJECT

public:
    ContentBaseCopyAction(const QList<ContentBase*>& items, QWidget* parent);

    // Puts the objects on the system clipboard as a source of `kind`.
    static void PutOnClipboard(const QList<ContentBase*>& objects, int kind);

public Q_SLOTS:
    void execute() override;

protected:
    ContentBaseCopyAction(const QString& caption, const QList<ContentBase*>& items, int kind,
                          QWidget* parent);

private:
    int m_kind;
};

class ContentBaseCutAction : public ContentBaseCopyAction {
    Q_OBJECT

public:
    ContentBaseCutAction(const QList<ContentBase*>& items, QWidget* parent);
};
