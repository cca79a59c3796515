#pragma once

#include <QString>

class QWidget;

// File dialogs that open in the folder last used under a key (kept in the preferences) and
// remember the folder of the file the user chose.
namespace LastPathFileDialog {

// A file to open; empty when the user cancelled.
QString Open(QWidget* parent, const QString& title, const QString& key, const QString& filter);
// A file to write, proposing `name` in the folder last used; empty when the user cancelled.
QString Save(QWidget* parent, const QString& title, const QString& key, const QString& name,
             const QString& filter);

// The folder last used under `key`, and remembering the folder of a chosen file, for dialogs
// that need more than the two above.
QString LastFolder(const QString& key);
void Remember(const QString& key, const QString& file);

}  // namespace LastPathFileDialog
