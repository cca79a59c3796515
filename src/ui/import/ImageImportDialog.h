#pragma once

#include "content/import/ImportSettings.h"

#include <QDialog>

#include <array>

class ImageImporter;
class PicturePane;
class QCheckBox;
class QComboBox;
class QPushButton;
class ValueSlider;

// The import of a picture, animated picture or clip into an LED image of one family, with the
// sampling settings to tune: "Preview" shows the current frame as the LEDs will show it,
// "Original" the frame itself with, under "Show", the area each LED reads. Reading and
// sampling run in the window thread. The family's dialogs (LEDImageImportDialog) supply the
// importer and the image the preview is drawn from.
class ImageImportDialog : public QDialog {
    Q_OBJECT

public:
    // The edge of the pictures the preview is drawn at (the pane scales them).
    static constexpr int kPreviewSize = 400;

    // Reads the file's frames (scaled down to at most 512 x 512); false, with `error` saying
    // why, when the file cannot be read. Call before showing the dialog.
    bool Load(QString* error);
    const QString& File() const { return m_file; }

    PicturePane* PreviewPane() const { return m_preview; }
    PicturePane* OriginalPane() const { return m_original; }
    QPushButton* AcceptButton() const { return m_accept; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Offers to import the other files of a drop with this file's settings, without their
    // dialogs: `files` is how many are left, this one included.
    void OfferApplyToAll(int files);
    QCheckBox* ApplyToAllBox() const { return m_applyToAll; }
    bool ApplyToAll() const;
    // The settings as the controls stand.
    ImportSettings Settings() const { return SettingsFromControls(); }

public Q_SLOTS:
    // A setting changed: samples every frame again, then shows the current one.
    void UpdateImport();
    // Shows the frame the "Frame" slider is at.
    void UpdateImportPreview();
    // Draws or removes the sample mask over the original.
    void UpdateMask();

protected:
    // `family` names the family in the title ("Marqa": "Marqa Image Import - file.png").
    ImageImportDialog(const QString& family, const QString& file, QWidget* parent);

    virtual ImageImporter& Importer() = 0;
    // Takes the importer's last computation into the image the preview is drawn from.
    virtual void TakeComputation() = 0;
    virtual QImage RenderPreview(int frame, int size) const = 0;

    // The ranges that depend on the file are set when the dialog is first shown.
    void showEvent(QShowEvent* event) override;

private:
    struct Level {
        const char* label;
        int ImportSettings::*field;
    };
    // The 0..255 settings, in the order shown.
    static constexpr std::array<Level, 5> kLevels = {{
        {"Contrast", &ImportSettings::contrast},
        {"Brightness", &ImportSettings::brightness},
        {"Luminance Weight", &ImportSettings::luminanceWeight},
        {"Distance Weight", &ImportSettings::distanceWeight},
        {"Luminance Cutoff", &ImportSettings::cutoff},
    }};

    void BuildWidgets();
    ImportSettings SettingsFromControls() const;
    void SetFileRanges();

    QString m_file;
    bool m_rangesSet = false;
    // Children of this dialog.
    PicturePane* m_preview = nullptr;
    PicturePane* m_original = nullptr;
    ValueSlider* m_frame = nullptr;
    QCheckBox* m_showMask = nullptr;
    QCheckBox* m_applyToAll = nullptr;
    QComboBox* m_aspect = nullptr;
    ValueSlider* m_sampleSize = nullptr;
    std::array<ValueSlider*, kLevels.size()> m_levels{};
    QComboBox* m_cutoffMode = nullptr;
    QComboBox* m_luminance = nullptr;
    QComboBox* m_colour = nullptr;
    QPushButton* m_accept = nullptr;
    QPushButton* m_cancel = nullptr;
};
