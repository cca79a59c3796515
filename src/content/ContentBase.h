#pragma once

#include <QObject>
#include <QString>

class ContentFolder;

// Common interface of every content object, item or folder, of every tree. Each operation
// holds ContentModelMutex for its whole run.
class ContentBase : public QObject {
    Q_OBJECT

public:
    // Names are cut to this many characters when they are set.
    static constexpr int kMaxNameLength = 16;
    // Why a name typed for a new or renamed object can't be taken (empty, or longer than
    // kMaxNameLength); empty when it can.
    static QString NameProblem(const QString& name);

    ContentBase();
    ~ContentBase() override;

    virtual bool IsReadOnly() const;
    virtual QString Name() const;
    // Stores the first 16 characters and emits NameChanged with the previous name, also when
    // the name does not change.
    virtual bool SetName(const QString& name);
    virtual int Address() const;
    virtual bool SetAddress(int address);
    virtual quint16 Tag() const;
    virtual bool SetTag(quint16 tag);
    virtual ContentFolder* Parent() const;
    virtual ContentFolder* Parent();
    // Sets the holding folder without a signal; the folder, not the parent pointer, owns.
    virtual bool SetParent(ContentFolder* parent);

    // The reference that drag payloads carry for this object (see ContentRegistry).
    quint32 Reference() const { return m_reference; }

signals:
    void NameChanged(const ContentBase* content, QString oldName);
    void AddressChanged(const ContentBase* content, int address);

private:
    QString m_name;
    int m_address = 0;
    quint16 m_tag = 0;
    ContentFolder* m_parent = nullptr;
    quint32 m_reference = 0;
};
