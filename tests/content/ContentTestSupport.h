#pragma once

#include "content/Content.h"
#include "content/ContentChildList.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"

#include <memory>

// A plain item with no data of its own.
class TestItem : public Content {
public:
    explicit TestItem(const QString& name = {}, int address = 0) {
        SetName(name);
        SetAddress(address);
    }
    std::unique_ptr<Content> Clone() const override {
        return std::make_unique<TestItem>(Name(), Address());
    }
    bool Load(const QString&) override { return false; }
    bool Save(const QString&) override { return false; }
    QString Suffix() const override { return QStringLiteral("test"); }
};

// An in-memory policy folder, as the library's folders are on disk.
class TestPolicyFolder : public ContentPolicyFolder {
public:
    explicit TestPolicyFolder(const PolicyBase* policy, const QString& name = {})
        : ContentPolicyFolder(policy) {
        SetName(name);
    }

    int ChildCount() const override { return m_children.Count(); }
    ContentBase* Child(int index) override { return m_children.At(index); }
    const ContentBase* Child(int index) const override { return m_children.At(index); }
    void Sort(bool recursive) override {
        const ContentModelLock lock;
        m_children.SortByAddress(recursive);
    }

    template <class T>
    T* Append(std::unique_ptr<T> child) {
        T* added = child.get();
        m_children.Append(std::move(child), this);
        return added;
    }
    TestItem* AddItem(const QString& name, int address) {
        return Append(std::make_unique<TestItem>(name, address));
    }

private:
    ContentChildList m_children;
};
