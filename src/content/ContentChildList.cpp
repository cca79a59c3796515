#include "content/ContentChildList.h"

#include "content/ContentFolder.h"
#include "os/Trap.h"

#include <QThread>

#include <algorithm>

ContentBase* ContentChildList::At(int index) const {
    if (index < 0 || index >= Count()) {
        Os::Trap("index out of range", __FILE__, __DATE__ " " __TIME__);
    }
    return m_children[size_t(index)].get();
}

int ContentChildList::IndexOf(const ContentBase* child) const {
    const auto found = std::find_if(m_children.begin(), m_children.end(),
                                    [child](const auto& held) { return held.get() == child; });
    return found == m_children.end() ? -1 : int(found - m_children.begin());
}

void ContentChildList::Append(std::unique_ptr<ContentBase> child, ContentFolder* folder) {
    // An item made on an operation's worker thread joins the folder's thread, so that a
    // later deleteLater runs where the tree lives.
    if (child->thread() == QThread::currentThread() && child->thread() != folder->thread()) {
        child->moveToThread(folder->thread());
    }
    child->SetParent(folder);
    m_children.push_back(std::move(child));
}

std::unique_ptr<ContentBase> ContentChildList::Take(const ContentBase* child) {
    const int index = IndexOf(child);
    if (index < 0) {
        return nullptr;
    }
    std::unique_ptr<ContentBase> taken = std::move(m_children[size_t(index)]);
    m_children.erase(m_children.begin() + index);
    return taken;
}

void ContentChildList::SortByAddress(bool recursive) {
    std::stable_sort(m_children.begin(), m_children.end(),
                     [](const auto& a, const auto& b) { return a->Address() < b->Address(); });
    if (recursive) {
        for (const auto& child : m_children) {
            if (auto* folder = qobject_cast<ContentFolder*>(child.get())) {
                folder->Sort(true);
            }
        }
    }
}
