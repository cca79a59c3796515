#pragma once

#include <QList>
#include <QString>

class Content;
class ContentBase;
class ContentFolder;
class IFeedback;

// The steps every content operation is made of. Each reports its line, calls one folder
// operation with a FeedbackWrapper that maps the step's progress onto `share` of the
// operation's, and waits for the folder to report the end (a device folder reports it once
// its command has run). Each returns 0 on success, 1 on failure (with an error line) and 2
// when the operation has been cancelled meanwhile.
namespace ContentSteps {

// The part [start, end] of the operation's progress that a step drives.
struct Share {
    int start = 0;
    int end = 100;
};

// Copies the item into `target` under that name and address: as the target's policy converts
// it, else as a clone. An item whose data its folder only lists (on a fixture) is read first.
int CopyItem(IFeedback* feedback, const Content* item, ContentFolder* target, const QString& name,
             int address, Share share = {});
// The copy alone, without the step's line; `failure` is reported when it can't be made.
int CopyInto(IFeedback* feedback, const Content* item, ContentFolder* target, const QString& name,
             int address, Share share = {});
int MoveItem(IFeedback* feedback, ContentBase* item, ContentFolder* target, Share share = {});
// Makes the folder; `created` (when given) gets it.
int CreateFolder(IFeedback* feedback, ContentFolder* parent, const QString& name, int address,
                 ContentFolder** created = nullptr, Share share = {});
int Rename(IFeedback* feedback, ContentBase* item, const QString& name, Share share = {});
int Renumber(IFeedback* feedback, ContentBase* item, int address, Share share = {});
int Delete(IFeedback* feedback, ContentBase* item, Share share = {});

// The name of the item's folder, or "(none)".
QString ParentName(const ContentBase* item);
// The folder's children as they are now, taken under the lock.
QList<ContentBase*> Children(const ContentFolder* folder);
// The child of `folder` with that name and address, or null.
ContentBase* FindChild(const ContentFolder* folder, const QString& name, int address);

}  // namespace ContentSteps
