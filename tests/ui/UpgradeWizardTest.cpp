#include "UiRig.h"
#include "WhenModal.h"
#include "firmware/FirmwarePackage.h"
#include "lumo/devices/MarqaRDM.h"
#include "orx/ORXDevice.h"
#include "os/NamedFolders.h"
#include "rdm/devices/DeviceManager.h"
#include "sim/FirmwareCatalogue.h"
#include "ui/AurelMainWindow.h"
#include "ui/Preferences.h"
#include "ui/tasks/TaskItem.h"
#include "ui/tasks/TaskView.h"
#include "ui/wizards/DeviceChecklist.h"
#include "ui/wizards/UpgradeDevicePage.h"
#include "ui/wizards/UpgradeFirmwareFilePage.h"
#include "ui/wizards/UpgradeModelPage.h"
#include "ui/wizards/UpgradeWizard.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

QString StockPath() {
    return QDir(Os::NamedFolders::Path("Firmware")).filePath("marqa.crvpkg");
}

// A MARQA package whose versions the simulated fixtures learn.
void WritePackage(const QString& path, quint32 release) {
    FirmwarePackage::Contents contents;
    contents.motion = QByteArray(3000, char(release));
    contents.graphics = QByteArray(2000, char(release + 1));
    contents.fpga = QByteArray(1000, char(release + 2));
    contents.versions = {{5, 0, 0, release}, {3, 1, 0, 2}, 9};
    QString error;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(FirmwarePackage::Write(path, FirmwarePackage::kMarqa, contents, &error))
        << error.toStdString();
    ASSERT_TRUE(Sim::FirmwareCatalogue::Instance().LearnPackage(path, &error))
        << error.toStdString();
}

QStringList Headers(const QTreeWidget* tree) {
    QStringList headers;
    for (int column = 0; column < tree->columnCount(); ++column) {
        headers.append(tree->headerItem()->text(column));
    }
    return headers;
}

QStringList Rows(const QTreeWidget* tree) {
    QStringList rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        rows.append(
            QStringLiteral("%1 | %2 | %3").arg(item->text(0), item->text(1), item->text(2)));
    }
    return rows;
}

class UpgradeWizardTest : public ::testing::Test {
protected:
    UpgradeWizardTest() {
        for (quint64 uid : {0x435600005001ULL, 0x435600005002ULL}) {
            auto fixture = std::make_unique<MarqaRDM>(uid);
            fixture->SetModelNumber(1);
            m_devices.append(fixture.get());
            m_owned.push_back(std::move(fixture));
        }
        auto orx = std::make_unique<ORXDevice>(0, 0x1234);
        orx->SetModelNumber(1);  // "ORX Spot 250"
        m_devices.append(orx.get());
        m_owned.push_back(std::move(orx));
    }
    ~UpgradeWizardTest() override { QFile::remove(StockPath()); }

    // The wizard on its model page with that model chosen, then Next.
    std::unique_ptr<UpgradeWizard> NextFromModel(const QString& model) {
        auto wizard = std::make_unique<UpgradeWizard>(m_devices);
        wizard->show();
        wizard->ModelPage()->ModelBox()->setCurrentText(model);
        wizard->next();
        return wizard;
    }

    QList<Device*> m_devices;
    std::vector<std::unique_ptr<QObject>> m_owned;
    QTemporaryDir m_dir;
};

TEST_F(UpgradeWizardTest, TheFilePageIsAskedOnlyWithoutAStockPackage) {
    const QString chosen = m_dir.filePath("marqa-2.crvpkg");
    WritePackage(chosen, 2);
    struct Case {
        const char* name;
        bool stock;
        QString model;
        int page;
        QString version;  // on the device page, once there
    };
    const Case cases[] = {
        {"stock package", true, "MARQA", UpgradeWizard::kDevicePage,
         "Motion 5.0.0.1, Graphics 3.1.0.2, FPGA 9"},
        {"no stock package", false, "MARQA", UpgradeWizard::kFilePage,
         "Motion 5.0.0.2, Graphics 3.1.0.2, FPGA 9"},
        {"legacy fixture", false, "ORX Spot 250", UpgradeWizard::kFilePage, "Unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(StockPath());
        if (c.stock) {
            WritePackage(StockPath(), 1);
        }
        auto wizard = NextFromModel(c.model);
        EXPECT_EQ(wizard->windowTitle(), "Software Upgrade Wizard");
        ASSERT_EQ(wizard->currentId(), c.page);
        if (c.page == UpgradeWizard::kFilePage) {
            UpgradeFirmwareFilePage* page = wizard->FilePage();
            EXPECT_EQ(page->title(), "Select Software File");
            EXPECT_EQ(page->ModelLabel()->text(), c.model);
            EXPECT_FALSE(wizard->button(QWizard::NextButton)->isEnabled());
            page->FileEdit()->setText(chosen);
            EXPECT_TRUE(wizard->button(QWizard::NextButton)->isEnabled());
            wizard->next();
        }
        UpgradeDevicePage* page = wizard->DevicePage();
        ASSERT_EQ(wizard->currentId(), UpgradeWizard::kDevicePage);
        EXPECT_EQ(page->title(), "Select Devices to Upgrade");
        EXPECT_EQ(page->ModelLabel()->text(), c.model);
        EXPECT_EQ(page->VersionLabel()->text(), c.version);
        EXPECT_EQ(Headers(page->List()),
                  QStringList({"Address", "Current Software Version", "Unique ID", "Upgrade"}));
        EXPECT_EQ(page->List()->FixtureCount(), c.model == "MARQA" ? 2 : 1);
        EXPECT_EQ(wizard->File(), c.stock ? StockPath() : chosen);
    }
}

TEST_F(UpgradeWizardTest, DevicePageRefusesToFinishWithNothingCheckedAndForgetsChecksOnANewFile) {
    WritePackage(StockPath(), 1);
    auto wizard = NextFromModel("MARQA");
    UpgradeDevicePage* page = wizard->DevicePage();
    const QString version = m_devices[0]->GetSoftwareVersion();
    EXPECT_EQ(Rows(page->List()), QStringList({"0 | " + version + " | 0x435600005001",
                                               "0 | " + version + " | 0x435600005002"}));
    page->SelectAllButton()->click();
    EXPECT_EQ(wizard->CheckedDevices(), m_devices.mid(0, 2));
    page->ClearAllButton()->click();
    EXPECT_TRUE(wizard->CheckedDevices().isEmpty());

    QString told;
    WhenModal<QMessageBox>([&told](QMessageBox* box) {
        told = box->windowTitle() + ": " + box->text();
        box->accept();
    });
    wizard->button(QWizard::FinishButton)->click();
    EXPECT_EQ(told,
              "Upgrade Devices: No devices selected.  Select one or more devices before "
              "continuing.");
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->currentId(), UpgradeWizard::kDevicePage);

    page->SelectAllButton()->click();
    wizard->FilePage()->FileEdit()->setText(m_dir.filePath("marqa-other.crvpkg"));
    EXPECT_TRUE(wizard->CheckedDevices().isEmpty());
    EXPECT_EQ(page->VersionLabel()->text(), "(Error opening file)");
}

TEST_F(UpgradeWizardTest, BrowseOffersTheModelsFilesFromTheFolderLastUsed) {
    const QString chosen = m_dir.filePath("marqa-3.crvpkg");
    WritePackage(chosen, 3);
    Preferences* preferences = Preferences::AcquirePreferences();
    preferences->SetLastPath(UpgradeFirmwareFilePage::kFolderKey, QDir::tempPath());
    auto wizard = NextFromModel("MARQA");
    ASSERT_EQ(wizard->currentId(), UpgradeWizard::kFilePage);

    QString seen;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        seen = QStringLiteral("%1 | %2 | %3")
                   .arg(dialog->windowTitle(), dialog->directory().absolutePath(),
                        dialog->nameFilters().join(';'));
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own is protected
    });
    wizard->FilePage()->BrowseButton()->click();
    EXPECT_EQ(seen, "Select Software Upgrade File | " + QDir::tempPath() + " | marqa*.crvpkg");
    EXPECT_EQ(wizard->File(), chosen);
    EXPECT_EQ(preferences->GetLastPath(UpgradeFirmwareFilePage::kFolderKey), m_dir.path());
    preferences->SetLastPath(UpgradeFirmwareFilePage::kFolderKey, QString());
    Preferences::ReleasePreferences();
}

TEST(UpgradeDevicesAction, UpgradesTheCheckedFixturesAndShowsTheUpgradeInTheTaskView) {
    AurelMainWindow window;
    WritePackage(StockPath(), 4);
    window.FindAction("&Discover All Devices")->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return DeviceManager::Instance()->Devices().size() == DemoFixtureCount(); }, kWaitMs));
    QList<Device*> marqa;
    for (Device* device : DeviceManager::Instance()->Devices()) {
        if (qobject_cast<MarqaRDM*>(device)) {
            marqa.append(device);
        }
    }
    ASSERT_FALSE(marqa.isEmpty());

    WhenModal<UpgradeWizard>([](UpgradeWizard* wizard) {
        wizard->ModelPage()->ModelBox()->setCurrentText("MARQA");
        wizard->next();
        wizard->DevicePage()->SelectAllButton()->click();
        wizard->button(QWizard::FinishButton)->click();
    });
    window.FindAction("&Upgrade Devices")->trigger();

    TaskItem* task = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (TaskItem* item : window.Tasks()->Tasks()) {
                if (item->Title() == "MARQA Firmware Upgrade" &&
                    item->GetState() == TaskItem::Finished) {
                    task = item;
                }
            }
            return task != nullptr;
        },
        kWaitMs));
    QStringList log;
    for (const auto& [line, severity] : task->Log()) {
        log.append(line);
    }
    EXPECT_EQ(log.last(), "Upgrade Completed!");
    for (Device* device : marqa) {
        EXPECT_TRUE(
            static_cast<MarqaRDM*>(device)->GetSoftwareVersion().startsWith("Motion 5.0.0.4,"))
            << device->GetSoftwareVersion().toStdString();
    }
    QFile::remove(StockPath());
}

}  // namespace
