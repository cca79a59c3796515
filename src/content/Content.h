#pragma once

#include "content/ContentBase.h"

#include <QIcon>

#include <memory>
#include <vector>

class Content;

// Items handed between folders, policies and importers; whoever holds the list owns them.
using ContentList = std::vector<std::unique_ptr<Content>>;

// A content item (a leaf of a tree): an LED image, a clip.
class Content : public ContentBase {
    Q_OBJECT

public:
    Content() = default;

    // The top-most folder above the item, or null when it has no parent.
    virtual const ContentFolder* Root() const;
    virtual ContentFolder* Root();
    virtual QIcon Icon() const;
    // A new item of the same class with the same values.
    virtual std::unique_ptr<Content> Clone() const = 0;
    // The key that names the item's data (cache files are "%1.%2": 8 lower-case hex digits
    // and the suffix).
    virtual quint32* Key();
    virtual bool Load(const QString& path) = 0;
    // Why the last Load failed, when the item can say.
    virtual QString LoadProblem() const { return {}; }
    // Writes the item; false, with nothing written, when it can't be (StoreProblem says why
    // when the item itself is the reason).
    virtual bool Save(const QString& path) = 0;
    // Why the item can't be stored in a file or a fixture as it is; empty when it can.
    virtual QString StoreProblem() const { return {}; }
    // The file suffix of this kind of item, without the point.
    virtual QString Suffix() const = 0;
    virtual bool IsFlagged() const;

    // The key the item's data is known by on a fixture: the content key, or for an item
    // without one the key an upload gives it (made from the data). 0 when there is none.
    virtual quint32 DataKey() const { return ContentKey(); }

    // The key's value, read under the content lock.
    quint32 ContentKey() const;
    void SetContentKey(quint32 key);

signals:
    void ContentChanged();

private:
    quint32 m_key = 0;
};
