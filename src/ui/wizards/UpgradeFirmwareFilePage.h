#pragma once

#include <QWizardPage>

class Device;
class QLabel;
class QLineEdit;
class QPushButton;

// The upgrade wizard's page for the firmware file of the chosen model, the wizard's field
// "file": typed in, or picked in a file dialog that offers the model's firmware files and
// starts in the folder a file was last picked from.
class UpgradeFirmwareFilePage : public QWizardPage {
    Q_OBJECT

public:
    explicit UpgradeFirmwareFilePage(const QList<Device*>& devices, QWidget* parent = nullptr);

    void initializePage() override;

    QLineEdit* FileEdit() const { return m_file; }
    QPushButton* BrowseButton() const { return m_browse; }
    QLabel* ModelLabel() const { return m_model; }

    // The preferences key of the folder a file was last picked from.
    static constexpr const char* kFolderKey = "firmware_upgrade";

private:
    void Browse();

    const QList<Device*> m_devices;
    QLabel* m_model;  // children of this page
    QLineEdit* m_file;
    QPushButton* m_browse;
};
