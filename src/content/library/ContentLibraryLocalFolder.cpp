#include "content/library/ContentLibraryLocalFolder.h"

#include "archive/ArchivePathRouter.h"
#include "comm/IFeedback.h"
#include "content/ContentModelMutex.h"
#include "content/PolicyBase.h"
#include "content/library/ContentLibraryConfig.h"

#include <QFile>

#include <algorithm>

ContentLibraryLocalFolder::ContentLibraryLocalFolder(const PolicyBase* policy)
    : ContentPolicyFolder(policy) {}

int ContentLibraryLocalFolder::ChildCount() const {
    const ContentModelLock lock;
    return m_children.Count();
}

ContentBase* ContentLibraryLocalFolder::Child(int index) {
    const ContentModelLock lock;
    return m_children.At(index);
}

const ContentBase* ContentLibraryLocalFolder::Child(int index) const {
    const ContentModelLock lock;
    return m_children.At(index);
}

void ContentLibraryLocalFolder::Sort(bool recursive) {
    const ContentModelLock lock;
    m_children.SortByAddress(recursive);
}

QString ContentLibraryLocalFolder::NameProblem(const QString& name) {
    const bool unsafe = name.isEmpty() || name == "." || name == ".." ||
                        std::any_of(name.begin(), name.end(), [](QChar c) {
                            return c == '/' || c == '\\' || c.category() == QChar::Other_Control;
                        });
    if (!unsafe) {
        return {};
    }
    QString shown = name;
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control) {
            c = '?';
        }
    }
    return QStringLiteral(
               "Can't use \"%1\" as a file or folder name: a name must not be empty, "
               "\".\" or \"..\", nor hold a path separator or a control character")
        .arg(shown);
}

QString ContentLibraryLocalFolder::DirPath() const {
    const ContentModelLock lock;
    if (!m_directory.isEmpty()) {
        return m_directory;
    }
    const auto* parent = qobject_cast<const ContentLibraryLocalFolder*>(Parent());
    const QString name = m_dirName.isEmpty() ? Name() : m_dirName;
    return parent ? parent->DirPath() + '/' + name : name;
}

void ContentLibraryLocalFolder::SetDirName(const QString& name) {
    const ContentModelLock lock;
    m_dirName = name;
}

void ContentLibraryLocalFolder::SetDirPath(const QString& path) {
    const ContentModelLock lock;
    m_directory = path;
}

QDir ContentLibraryLocalFolder::Dir() const {
    return QDir(DirPath());
}

QString ContentLibraryLocalFolder::ChildPath(const QString& name) const {
    return DirPath() + '/' + name;
}

QStringList ContentLibraryLocalFolder::SubDirectories() const {
    return ArchivePathRouter::EntryList(DirPath(), QDir::Dirs | QDir::Readable);
}

void ContentLibraryLocalFolder::AppendChild(std::unique_ptr<ContentBase> child) {
    const ContentModelLock lock;
    m_children.Append(std::move(child), this);
}

std::unique_ptr<ContentBase> ContentLibraryLocalFolder::TakeChild(const ContentBase* child) {
    const ContentModelLock lock;
    return m_children.Take(child);
}

ContentBase* ContentLibraryLocalFolder::FindChild(const QString& name) const {
    const ContentModelLock lock;
    for (int i = 0; i < m_children.Count(); ++i) {
        if (m_children.At(i)->Name().compare(name, Qt::CaseInsensitive) == 0) {
            return m_children.At(i);
        }
    }
    return nullptr;
}

void ContentLibraryLocalFolder::HandDownPolicy(const PolicyBase* policy) {
    const ContentModelLock lock;
    SetPolicy(policy);
    const PolicyBase* childPolicy = Policy()->ChildPolicy(this, 0);
    for (int i = 0; i < m_children.Count(); ++i) {
        if (auto* folder = qobject_cast<ContentLibraryLocalFolder*>(m_children.At(i))) {
            folder->HandDownPolicy(childPolicy);
        }
    }
}

bool ContentLibraryLocalFolder::LoadConfig() {
    QByteArray text;
    ContentLibraryConfig config;
    if (!ArchivePathRouter::ReadAll(ChildPath("config.xml"), &text, nullptr,
                                    ContentLibraryConfig::kMaxFileBytes) ||
        !config.Parse(text)) {
        return false;
    }
    const ContentModelLock lock;
    if (!config.policy.isEmpty()) {
        if (const PolicyBase* policy = PolicyBase::Find(config.policy)) {
            HandDownPolicy(policy);
        }
    }
    if (!config.version.isEmpty()) {
        SetDescriptionVersion(config.version);
    }
    for (const ContentLibraryConfig::Child& described : config.children) {
        ContentBase* child = FindChild(described.name);
        if (!child) {
            continue;
        }
        child->SetAddress(described.address.toInt());
        child->SetTag(described.quorelId.toUShort());
        auto* folder = qobject_cast<ContentLibraryLocalFolder*>(child);
        if (folder && !described.policy.isEmpty()) {
            if (const PolicyBase* policy = PolicyBase::Find(described.policy)) {
                folder->HandDownPolicy(policy);
            }
        }
    }
    return true;
}

bool ContentLibraryLocalFolder::SaveConfig(bool recursive) {
    const ContentModelLock lock;
    bool ok = true;
    if (recursive) {
        for (int i = 0; i < m_children.Count(); ++i) {
            if (auto* folder = qobject_cast<ContentLibraryLocalFolder*>(m_children.At(i))) {
                ok = folder->SaveConfig(true) && ok;
            }
        }
    }
    const QString file = ChildPath("config.xml");
    if (m_children.Count() == 0) {
        if (ArchivePathRouter::IsArchivePath(file)) {
            return ok;  // nothing to take out of a package being written
        }
        return (!QFile::exists(file) || QFile::remove(file)) && ok;
    }
    ContentLibraryConfig config;
    config.version = DescriptionVersion();
    if (config.version.isEmpty()) {
        config.policy = Policy()->ClassName();
    }
    for (int i = 0; i < m_children.Count(); ++i) {
        const ContentBase* child = m_children.At(i);
        if (child->Address() == 0 && !DescribesAllChildren()) {
            continue;
        }
        config.children.push_back({ChildElement(), child->Name(), QString::number(child->Address()),
                                   QString::number(child->Tag()), QString()});
    }
    return ArchivePathRouter::WriteFile(file, config.Write(DescribesQuorelIds())) && ok;
}

bool ContentLibraryLocalFolder::Refuse(IFeedback* feedback, const QString& message) {
    if (feedback) {
        feedback->AddString(message, FeedbackStatusError);
    }
    return false;
}

bool ContentLibraryLocalFolder::Succeed(IFeedback* feedback) {
    if (feedback) {
        feedback->Finished(FeedbackResultSuccess);
    }
    return true;
}
