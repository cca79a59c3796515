#include "ui/AurelMainWindow.h"

#include "comm/CommandQueueWatcher.h"
#include "content/ContentModelMutex.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/library/StockContent.h"
#include "content/operations/ContentEraseOperation.h"
#include "content/operations/ContentOperation.h"
#include "content/operations/ContentStockUpdateOperation.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/UpdateQuorelContentSyncOperation.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "rdm/devices/DeviceManager.h"
#include "ui/AboutDialog.h"
#include "ui/OperationDialog.h"
#include "ui/Preferences.h"
#include "ui/Resources.h"
#include "ui/actions/ContentFolderNewAction.h"
#include "ui/quorel/QuorelDialog.h"
#include "ui/tasks/TaskView.h"
#include "ui/tree/ContentLibraryNode.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/NodeTree.h"
#include "ui/tree/QuorelContentNode.h"
#include "ui/tree/StockContentNode.h"
#include "ui/wizards/CloneWizard.h"
#include "ui/wizards/DeleteAllQuorelContentWizard.h"
#include "ui/wizards/DeleteAllUserContentWizard.h"
#include "ui/wizards/StockContentWizard.h"
#include "ui/wizards/UpdateQuorelContentWizard.h"
#include "ui/wizards/UpgradeWizard.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>

#include <iterator>

namespace {

AurelMainWindow* g_mainWindow = nullptr;
const char* const kThoroughDiscovery = "T&horough Discovery";

struct ActionRow {
    const char* menu;  // nullptr: a separator in the previous menu
    const char* caption;
    const char* shortcut;
    const char* statusTip;
    const char* icon;
    void (AurelMainWindow::*slot)();
    bool checkable = false;  // an on/off choice kept in the preferences under its object name
};

// The menu bar, in order. "Discover &RDM Devices" keeps Ctrl+R; "C&reate..." has none, so
// that the key is not ambiguous.
const ActionRow kActions[] = {
    {"File", "Exit", "Ctrl+Q", "Exit Application", ":/Resources/power.png", nullptr},
    {"Device", "&Discover All Devices", "Ctrl+D", "Discover All Devices",
     ":/Resources/fixture-discover-16.png", &AurelMainWindow::OnDiscoverAll},
    {"Device", "Discover O&RX Devices", "Ctrl+W", "Discover ORX Devices",
     ":/Resources/fixture-discover-16.png", &AurelMainWindow::OnDiscoverOrx},
    {"Device", "Discover &RDM Devices", "Ctrl+R", "Discover RDM Devices",
     ":/Resources/fixture-discover-16.png", &AurelMainWindow::OnDiscoverRdm},
    {"Device", kThoroughDiscovery, "",
     "Search every RDM range slowly, for fixtures that answer late",
     ":/Resources/fixture-discover-16.png", &AurelMainWindow::OnThoroughDiscovery, true},
    {"Device", "&Upgrade Devices", "Ctrl+U", "Upgrade software",
     ":/Resources/fixture-upgrade-16.png", &AurelMainWindow::OnUpgrade},
    {"Device", "Updat&e Stock Content", "Ctrl+E", "Update Stock Content",
     ":/Resources/fixture-content-16.png", &AurelMainWindow::OnUpdateStockContent},
    {"Device", "Dele&te All User Content", "Ctrl+T", "Delete All User Content",
     ":/Resources/fixture-delete-16.png", &AurelMainWindow::OnDeleteAllUserContent},
    {"Device", "C&lone Devices", "Ctrl+L", "Clone content to devices",
     ":/Resources/fixtures-16.png", &AurelMainWindow::OnClone},
    {"Quorel", "C&reate...", "", "Create New Quorel", ":/Resources/fixture-content-16.png",
     &AurelMainWindow::OnQuorelCreate},
    {"Quorel", "Update &Quorel Content", "Ctrl+P", "Update Quorel Content",
     ":/Resources/fixture-content-16.png", &AurelMainWindow::OnUpdateQuorelContent},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"Quorel", "Delete All Quore&l Content", "Ctrl+G", "Delete All Quorel Content",
     ":/Resources/fixture-delete-16.png", &AurelMainWindow::OnDeleteAllQuorelContent},
    {"Help", "About", "", "About Aurel", ":/Resources/help-16.png", &AurelMainWindow::OnAbout},
};

}  // namespace

AurelMainWindow::AurelMainWindow(QWidget* parent) : QMainWindow(parent) {
    InitAurelResources();
    BuildWidgets();
    m_watcher = std::make_unique<CommandQueueWatcher>(m_tasks);
    g_mainWindow = this;
    m_preferences = Preferences::AcquirePreferences();
    CreateActions();
    CreateMenus();
    // New content in a Quorel folder is made by the Quorel creator.
    ContentFolderNewAction::SetQuorelCreator([this](QWidget*) { OnQuorelCreate(); });
    OnThoroughDiscovery();  // the search chosen last time
}

AurelMainWindow::~AurelMainWindow() {
    Preferences::ReleasePreferences();
    if (g_mainWindow == this) {
        g_mainWindow = nullptr;
        ContentFolderNewAction::SetQuorelCreator(nullptr);
    }
}

AurelMainWindow* AurelMainWindow::Instance() {
    return g_mainWindow;
}

void AurelMainWindow::BuildWidgets() {
    setWindowTitle(tr("Aurel - Corvane"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* banner = new QHBoxLayout;
    banner->setContentsMargins(0, 0, 0, 0);
    banner->setSpacing(0);
    auto* left = new QLabel(central);
    left->setPixmap(QPixmap(":/Resources/banner-left.png"));
    auto* mid = new QLabel(central);
    mid->setPixmap(QPixmap(":/Resources/banner-mid.png"));
    mid->setScaledContents(true);
    mid->setMinimumWidth(1);
    auto* right = new QLabel(central);
    right->setPixmap(QPixmap(":/Resources/banner-right.png"));
    banner->addWidget(left);
    banner->addWidget(mid, 1);
    banner->addWidget(right);
    layout->addLayout(banner);

    auto* vertical = new QSplitter(Qt::Vertical, central);
    auto* horizontal = new QSplitter(Qt::Horizontal, vertical);
    m_viewArea = new QStackedWidget(horizontal);
    m_tree = new NodeTree(m_viewArea, horizontal);
    horizontal->addWidget(m_tree);
    horizontal->addWidget(m_viewArea);
    horizontal->setStretchFactor(0, 1);
    horizontal->setStretchFactor(1, 3);
    // Room for the device names in the tree and for every column of the device list.
    horizontal->setSizes({340, 1000});
    m_tasks = new TaskView(vertical);
    vertical->addWidget(horizontal);
    vertical->addWidget(m_tasks);
    vertical->setStretchFactor(0, 3);
    vertical->setStretchFactor(1, 1);
    layout->addWidget(vertical, 1);
    setCentralWidget(central);

    auto* devices = new DeviceManagerNode(DeviceManager::Instance());
    m_tree->AddTopLevelNode(devices);
    m_library = std::make_unique<ContentLibraryRoot>();
    m_tree->AddTopLevelNode(new ContentLibraryNode(m_library.get()));
    m_tree->AddTopLevelNode(new StockContentNode(std::make_unique<StockContentRoot>()));
    auto quorel = std::make_unique<QuorelContentLibraryRoot>();
    m_quorelLibrary = quorel.get();
    m_tree->AddTopLevelNode(new QuorelContentNode(std::move(quorel)));
    m_tree->expandAll();
    m_tree->setCurrentIndex(devices->index());  // the device list is the first view
    statusBar();
    resize(1340, 740);
}

void AurelMainWindow::CreateActions() {
    for (const ActionRow& row : kActions) {
        if (!row.menu) {
            m_actions.append(nullptr);
            continue;
        }
        auto* action = new QAction(QIcon(row.icon), row.caption, this);
        action->setShortcut(QKeySequence(row.shortcut));
        action->setStatusTip(row.statusTip);
        action->setObjectName(row.caption);
        if (row.checkable) {
            action->setCheckable(true);
            action->setChecked(m_preferences->GetFlag(PreferenceKey(row.caption)));
        }
        if (row.slot) {
            connect(action, &QAction::triggered, this, row.slot);
        } else {
            connect(action, &QAction::triggered, this, &QWidget::close);
        }
        m_actions.append(action);
    }
}

void AurelMainWindow::CreateMenus() {
    QMenu* menu = nullptr;
    QString current;
    for (int i = 0; i < int(std::size(kActions)); ++i) {
        const ActionRow& row = kActions[i];
        if (!row.menu) {
            menu->addSeparator();
            continue;
        }
        if (current != row.menu) {
            current = row.menu;
            menu = menuBar()->addMenu(current);
        }
        menu->addAction(m_actions[i]);
    }
}

QAction* AurelMainWindow::FindAction(const QString& caption) const {
    for (QAction* action : m_actions) {
        if (action && action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

QString AurelMainWindow::PreferenceKey(const QString& caption) {
    return QString(caption).remove('&').remove(' ');
}

void AurelMainWindow::OnThoroughDiscovery() {
    QAction* action = FindAction(kThoroughDiscovery);
    const bool thorough = action->isChecked();
    m_preferences->SetFlag(PreferenceKey(action->text()), thorough);
    DeviceManager::Instance()->SetDiscoverySearch(thorough ? DiscoverySearch::Thorough
                                                           : DiscoverySearch::Fast);
}

void AurelMainWindow::OnDiscoverAll() {
    DeviceManager::Instance()->DiscoverAll();
}

void AurelMainWindow::OnDiscoverOrx() {
    DeviceManager::Instance()->DiscoverOrx();
}

void AurelMainWindow::OnDiscoverRdm() {
    DeviceManager::Instance()->DiscoverRdm();
}

bool AurelMainWindow::HaveDevices() {
    if (!DeviceManager::Instance()->Devices().isEmpty()) {
        return true;
    }
    QMessageBox::critical(this, QString(), "No devices have been discovered");
    return false;
}

void AurelMainWindow::OnUpgrade() {
    QList<Device*> upgradable;
    for (Device* device : DeviceManager::Instance()->Devices()) {
        if (device->GetFirmwareUploadFlag() || !device->GetFirmwarePackagePath().isEmpty()) {
            upgradable.append(device);
        }
    }
    if (upgradable.isEmpty()) {
        QMessageBox::critical(this, "Device Upgrade", "No upgradable devices have been discovered");
        return;
    }
    UpgradeWizard wizard(upgradable, this);
    if (wizard.exec() != QDialog::Accepted) {
        return;
    }
    if (!DeviceManager::Instance()->UpgradeDevices(wizard.CheckedDevices(), wizard.File())) {
        QMessageBox::information(this, "Upgrade Devices",
                                 "The last upgrade of these devices has not finished yet.");
    }
}

template <class Wizard>
QList<Device*> AurelMainWindow::ChooseDevices() {
    if (!HaveDevices()) {
        return {};
    }
    Wizard wizard(DeviceManager::Instance()->Devices(), this);
    return wizard.exec() == QDialog::Accepted ? wizard.CheckedDevices() : QList<Device*>();
}

bool AurelMainWindow::HavePackages() const {
    const ContentModelLock lock;
    return m_library->ChildCount() > 0;
}

void AurelMainWindow::OnUpdateStockContent() {
    const QList<Device*> devices = ChooseDevices<StockContentWizard>();
    if (!devices.isEmpty()) {
        StockContentRoot stock;  // the packages as they are on disk now
        RunOperation(std::make_unique<ContentStockUpdateOperation>(devices, &stock));
    }
}

void AurelMainWindow::OnDeleteAllUserContent() {
    const QList<Device*> devices = ChooseDevices<DeleteAllUserContentWizard>();
    if (!devices.isEmpty()) {
        RunOperation(std::make_unique<ContentDeleteUserContentOperation>(devices));
    }
}

void AurelMainWindow::OnDeleteAllQuorelContent() {
    const QList<Device*> devices = ChooseDevices<DeleteAllQuorelContentWizard>();
    if (!devices.isEmpty()) {
        RunOperation(std::make_unique<ContentDeleteQuorelContentOperation>(devices));
    }
}

void AurelMainWindow::OnClone() {
    if (!HaveDevices()) {
        return;
    }
    if (!HavePackages()) {
        QMessageBox::critical(this, QString(),
                              "No content packages have been created.  Create or import a "
                              "content package to the user content library.");
        return;
    }
    CloneWizard wizard(DeviceManager::Instance()->Devices(), m_library.get(), this);
    if (wizard.exec() != QDialog::Accepted) {
        return;
    }
    auto sync = std::make_unique<ContentSyncOperation>(wizard.Source(), wizard.Destinations());
    sync->SetAggregators(LumoRDMContentFolderAggregator::Families());
    RunOperation(std::move(sync));
}

void AurelMainWindow::OnQuorelCreate() {
    // Collages it creates join the library the tree shows.
    QuorelDialog dialog(this, m_quorelLibrary);
    dialog.exec();
}

void AurelMainWindow::OnUpdateQuorelContent() {
    const QList<Device*> devices = ChooseDevices<UpdateQuorelContentWizard>();
    if (devices.isEmpty()) {
        return;
    }
    QuorelContentLibraryRoot library;  // the collages as they are on disk now
    auto update = std::make_unique<UpdateQuorelContentSyncOperation>(devices, &library);
    if (!update->HasSource()) {
        QMessageBox::information(this, "Update Quorel Content", "Failed to determine source.");
        return;
    }
    RunOperation(std::move(update));
}

void AurelMainWindow::OnAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

bool AurelMainWindow::RunOperation(std::unique_ptr<ContentOperation> operation) {
    // The operation speaks from its own thread: the box opens here, once the window's loop
    // takes the queued call.
    connect(operation.get(), &ContentOperation::InformationMessageBox, this,
            &AurelMainWindow::DisplayInformationBox, Qt::QueuedConnection);
    OperationDialog dialog(this);
    return dialog.Run(std::move(operation));
}

void AurelMainWindow::DisplayInformationBox(QString title, QString message) {
    QMessageBox::information(this, title, message);
}
