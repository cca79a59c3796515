#pragma once

#include <QString>

class QObject;

// Tells the user something that went wrong in the background. The program shows a message
// box, the command-line tool prints the text; either runs on the thread of the context
// object it was installed with, whichever thread posts.
class UserNotice {
public:
    virtual ~UserNotice() = default;
    virtual void Show(const QString& text) = 0;

    // `notice` (not owned) runs in `context`'s thread until it is uninstalled or `context`
    // goes. Null uninstalls.
    static void Install(UserNotice* notice, QObject* context);
    // Queues the text for the installed notice; without one it goes to the log.
    static void Post(const QString& text);
};
