#pragma once

#include <QMainWindow>

#include <memory>

class CommandQueueWatcher;
class Device;
class ContentLibraryRoot;
class ContentOperation;
class QuorelContentLibraryRoot;
class NodeTree;
class Preferences;
class QAction;
class QModelIndex;
class QStackedWidget;
class TaskView;

// The one main window: banner, the node tree beside the view area, the task strip below,
// and the menus.
class AurelMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit AurelMainWindow(QWidget* parent = nullptr);
    ~AurelMainWindow() override;

    // The main window of the process (content operations show their messages on it).
    static AurelMainWindow* Instance();

    NodeTree* Tree() const { return m_tree; }
    QStackedWidget* ViewArea() const { return m_viewArea; }
    TaskView* Tasks() const { return m_tasks; }
    // The user content library shown under "Content Library".
    ContentLibraryRoot* Library() const { return m_library.get(); }
    // Runs the operation under the operation dialog, its messages shown as information boxes
    // on this window; true when it succeeded.
    bool RunOperation(std::unique_ptr<ContentOperation> operation);

    // The menu action with this caption (mnemonics included), or null.
    QAction* FindAction(const QString& caption) const;

public Q_SLOTS:
    void OnDiscoverAll();
    void OnDiscoverOrx();
    void OnDiscoverRdm();
    // Takes the "Thorough Discovery" choice to the device manager and the preferences.
    void OnThoroughDiscovery();
    void OnUpgrade();
    void OnUpdateStockContent();
    void OnDeleteAllUserContent();
    void OnDeleteAllQuorelContent();
    void OnClone();
    void OnQuorelCreate();
    void OnUpdateQuorelContent();
    void OnAbout();
    void DisplayInformationBox(QString title, QString message);

private:
    // The preferences key of an on/off menu item: its caption without '&' and spaces.
    static QString PreferenceKey(const QString& caption);
    void BuildWidgets();
    void CreateActions();
    void CreateMenus();
    // With no registered device: says so and gives false.
    bool HaveDevices();
    // Runs the wizard of a bulk content job on the registered devices: the devices checked
    // when it was finished, none when there are none or it was cancelled.
    template <class Wizard>
    QList<Device*> ChooseDevices();
    // Whether the user content library holds a package.
    bool HavePackages() const;

    std::unique_ptr<CommandQueueWatcher> m_watcher;
    std::unique_ptr<ContentLibraryRoot> m_library;
    QuorelContentLibraryRoot* m_quorelLibrary = nullptr;  // owned by its tree node
    NodeTree* m_tree = nullptr;                           // widgets are children of this window
    QStackedWidget* m_viewArea = nullptr;
    TaskView* m_tasks = nullptr;
    QList<QAction*> m_actions;
    Preferences* m_preferences = nullptr;  // one use of the shared preferences
};
