#pragma once

#include "content/ContentFolder.h"

class PolicyBase;

// A folder whose rules come from a shared policy object. Subclasses own the children.
class ContentPolicyFolder : public ContentFolder {
    Q_OBJECT

public:
    // A null policy stands for one without rules.
    explicit ContentPolicyFolder(const PolicyBase* policy);

    const PolicyBase* Policy() const;
    void SetPolicy(const PolicyBase* policy);

    bool IsReadOnly() const override;
    int MinAddress() const override;
    int MaxAddress() const override;
    bool ChildrenReadOnly() const override;
    bool ViewOnly() const override;
    int FirstFreeAddress() const override;
    QString ChildFolderTypeName(int kind) const override;
    bool AcceptsFolder(const ContentFolder* folder) const override;
    bool AcceptsContent(const Content* content) const override;
    bool HasChild(const QString& name, int address) const override;
    void MakeUnique(QString* name, int* address) override;
    bool CanMoveContent(const Content* content) const override;
    bool CanMoveFolder(const ContentFolder* folder) const override;
    ContentList NewContent(const QString& path) override;
    ContentList ImportFile(int address, const QString& path) override;

    // True when a child other than `exclude` clashes with the name or address.
    virtual bool HasConflict(const ContentBase* exclude, const QString& name, int address) const;
    virtual void MakeUnique(const ContentBase* exclude, QString* name, int* address);

private:
    const PolicyBase* m_policy;
};
