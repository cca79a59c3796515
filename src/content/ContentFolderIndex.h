#pragma once

#include <QHash>
#include <QMultiHash>
#include <QObject>

class Content;
class ContentFolder;

// Follows one content tree: records every item by its content key and every folder, and
// keeps the record current through the folders' signals (added folders are walked and
// followed too). Objects destroyed without a signal drop out of the record as they go.
class ContentFolderIndex : public QObject {
    Q_OBJECT

public:
    explicit ContentFolderIndex(ContentFolder* root, QObject* parent = nullptr);

    // An item of the tree whose content key is `key`, or null.
    Content* Find(quint32 key) const;
    bool Contains(const Content* content) const;
    bool Contains(const ContentFolder* folder) const;
    int ContentCount() const;
    int FolderCount() const;

public slots:
    void AddContent(const ContentFolder* parent, Content* content);
    void RemoveContent(const ContentFolder* parent, const Content* content);
    void AddFolder(const ContentFolder* parent, ContentFolder* folder);
    void RemoveFolder(const ContentFolder* parent, const ContentFolder* folder);

private:
    void Follow(const ContentFolder* parent, ContentFolder* folder);
    void Forget(const Content* content);
    void ForgetFolder(const ContentFolder* folder);
    void Rekey(Content* content);

    QMultiHash<quint32, Content*> m_byKey;
    QHash<const Content*, quint32> m_keys;
    QHash<const Content*, const ContentFolder*> m_contentFolder;
    QHash<const ContentFolder*, const ContentFolder*> m_folderParent;
};
