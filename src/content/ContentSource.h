#pragma once

#include <QList>

class ContentBase;

// Where dragged or pasted content comes from: a kind (what the source was made for, such as a
// copy to the clipboard) and the objects.
class ContentSource {
public:
    virtual ~ContentSource() = default;

    virtual int Kind() const = 0;
    // The objects that are still alive, in their original order. Use them with
    // ContentModelMutex held.
    virtual QList<ContentBase*> Contents() const = 0;
};
