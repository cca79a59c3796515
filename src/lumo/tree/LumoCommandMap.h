#pragma once

#include "comm/CommManager.h"
#include "comm/Command.h"
#include "os/Trap.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUuid>

#include <memory>

class IFeedback;

// The commands one node of a content tree has queued, by id, from queueing until the
// command manager reports them completed.
//
// A caller's feedback gets every line and the progress of its command, but the end of the
// command only from Finish, which the node calls once the command's results have been
// applied: an operation waiting for that end then finds the tree already changed.
class LumoCommandMap {
public:
    // Commands of `owner` go to the process-wide command manager of now.
    explicit LumoCommandMap(QObject* owner);
    // Commands still queued or running are deleted when they complete; their callers are
    // told they failed, since their results no longer reach the tree.
    ~LumoCommandMap();
    LumoCommandMap(const LumoCommandMap&) = delete;
    LumoCommandMap& operator=(const LumoCommandMap&) = delete;

    CommManager* Manager() const { return m_manager; }

    // Connects the manager's completion signal to the node's slot (which calls Finish).
    template <class Node>
    void ConnectCompletion(Node* node, void (Node::*slot)(QUuid)) {
        const bool didConnectSucceed =
            bool(QObject::connect(m_manager, &CommManager::CommandCompleted, node, slot));
        OS_TRAP_IF(!didConnectSucceed);
    }

    // Connects the command's result signal to the node's slot, records the command and
    // queues it. Called off the node's thread, the command joins the node's thread and is
    // queued from there, so that it comes back to be deleted where the node lives.
    template <class C, class Node, class... Args>
    C* Queue(std::unique_ptr<C> command, IFeedback* feedback, void (C::*signal)(Args...),
             Node* node, void (Node::*slot)(Args...)) {
        const bool didConnectSucceed = bool(QObject::connect(command.get(), signal, node, slot));
        OS_TRAP_IF(!didConnectSucceed);
        C* queued = command.get();
        Record(std::move(command), feedback);
        return queued;
    }

    // Records and queues a command whose only result is its end.
    template <class C>
    C* Queue(std::unique_ptr<C> command, IFeedback* feedback) {
        C* queued = command.get();
        Record(std::move(command), feedback);
        return queued;
    }

    // The recorded command of that id and class, or null.
    template <class C>
    C* Find(const QUuid& id) const {
        return qobject_cast<C*>(FindCommand(id));
    }
    Command* FindCommand(const QUuid& id) const;
    int Count() const;

    // Tells the caller's feedback how the command ended (a failure when it never said) and
    // deletes the command. Ids of other nodes' commands are ignored.
    void Finish(const QUuid& id);

private:
    class Relay;
    struct Entry;

    void Record(std::unique_ptr<Command> command, IFeedback* feedback);
    void QueueRecorded(const QUuid& id);
    void Abandon(const std::shared_ptr<Entry>& entry);

    QObject* m_owner;
    CommManager* m_manager;
    QHash<QUuid, std::shared_ptr<Entry>> m_entries;
};
