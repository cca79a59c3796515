#pragma once

#include "content/ContentChildList.h"
#include "content/ContentFolder.h"
#include "lumo/commands/LumoEraseContentCommand.h"
#include "lumo/tree/LumoCommandMap.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoRDMContentGroup.h"

#include <QList>
#include <QUuid>

class LumoRDM;
struct LumoFolderRecord;

// The root of one fixture's content tree: its stock, user and Quorel group, in that order.
// It reads the fixture's folders once, when it is made, and hands them to the groups.
class LumoRDMContentRoot : public ContentFolder {
    Q_OBJECT

public:
    ~LumoRDMContentRoot() override;

    LumoRDM* Device() const { return m_device; }
    LumoRDMContentGroup* StockGroup() const { return m_stock; }
    LumoRDMContentGroup* UserGroup() const { return m_user; }
    LumoRDMContentGroup* QuorelGroup() const { return m_quorel; }

    int ChildCount() const override;
    ContentBase* Child(int index) override;
    const ContentBase* Child(int index) const override;
    int MinAddress() const override;
    int MaxAddress() const override;

    // Erases all user or all Quorel content on the fixture; the group empties once the
    // fixture has taken it, and then the feedback gets the end.
    void EraseContent(LumoEraseContentCommand::Kind kind, IFeedback* feedback);

    // Whether the fixture's folders and all their files have been read (failed when any
    // listing failed).
    LumoRDMContentFolder::ReadState ContentRead() const;

    // Reads the fixture's folder list.
    void DiscoverFolders();
    // Hands the folder records to each group in turn.
    void AddDiscoveredFolders(const QList<LumoFolderRecord>& folders);

public Q_SLOTS:
    void OnCommandFinished(QUuid commandId);
    void OnFinishedFolderDiscovery(QUuid commandId, bool bResult);

protected:
    explicit LumoRDMContentRoot(LumoRDM* device);

    // Makes the groups of the family, once, before discovery: stock content in folders 1 to
    // 40, user content in 41 to 250 and Quorel content from 251 to `quorelLastFolder`.
    template <class Group>
    void MakeGroups(int quorelLastFolder) {
        AddGroups(
            std::make_unique<Group>(m_device, QStringLiteral("Stock Content"), 1, 40, Group::Stock),
            std::make_unique<Group>(m_device, QStringLiteral("User Content"), 41, 250, Group::User),
            std::make_unique<Group>(m_device, QStringLiteral("Quorel Content"), 251,
                                    quorelLastFolder, Group::Quorel));
    }

private:
    void AddGroups(std::unique_ptr<LumoRDMContentGroup> stock,
                   std::unique_ptr<LumoRDMContentGroup> user,
                   std::unique_ptr<LumoRDMContentGroup> quorel);

    LumoRDM* const m_device;
    ContentChildList m_groups;
    LumoRDMContentGroup* m_stock = nullptr;
    LumoRDMContentGroup* m_user = nullptr;
    LumoRDMContentGroup* m_quorel = nullptr;
    LumoRDMContentFolder::ReadState m_read = LumoRDMContentFolder::Read;
    LumoCommandMap m_commands;
};
