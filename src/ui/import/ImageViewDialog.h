#pragma once

#include "ui/import/ImagePaletteDialog.h"

#include <QDialog>

#include <vector>

class Content;
class PicturePane;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

// Shows an LED image frame by frame: "Preview" of the current frame, the buttons to step back,
// play or pause and step forward, the frame slider, a line with the frame number, its delay
// and the item's DMX address, "Palette" for the palette table, and "Close". Playing shows each
// frame for its own delay (at least kMinDelayMs) and starts again after the last. The family's
// dialogs (LEDImageViewDialog) supply the frames.
class ImageViewDialog : public QDialog {
    Q_OBJECT

public:
    // Frames of a shorter delay (0 included) are shown this long while playing.
    static constexpr int kMinDelayMs = 20;
    static constexpr int kPreviewSize = 400;

    // The view dialog of the item's family, run modally; false, with nothing shown, when the
    // item is not an LED image.
    static bool Open(const Content& item, QWidget* parent);

    // "DMX 12" for one address, "DMX 12-14" for a range of them, "DMX (none)" for none (0).
    static QString AddressText(int first, int last);

    int FrameCount() const { return int(m_delays.size()); }
    int CurrentFrame() const;
    bool IsPlaying() const;

    PicturePane* PreviewPane() const { return m_preview; }
    QSlider* FrameSlider() const { return m_slider; }
    QLabel* FrameLabel() const { return m_frameText; }
    QLabel* DelayLabel() const { return m_delayText; }
    QLabel* AddressLabel() const { return m_addressText; }
    QToolButton* PlayButton() const { return m_play; }

public Q_SLOTS:
    void FrameBackward();
    void PlayPause();
    void FrameForward();
    // Shows the frame the slider is at.
    void UpdateView();
    void OpenPalette();

protected:
    // `family` names the family in the titles ("Marqa": "Marqa Image - name").
    ImageViewDialog(const QString& family, QWidget* parent);

    // Shows the image: called by the family's dialog once it holds the image.
    void ShowImage(const QString& name, int address, std::vector<int> delays,
                   const LEDPalette& palette, const ImagePaletteDialog::Uses& uses);
    virtual QImage RenderPreview(int frame, int size) const = 0;

private:
    void BuildWidgets();
    // The play timer ran out: the next frame, for its own delay.
    void NextFrame();
    int ShownDelay(int frame) const;
    void StepTo(int frame);

    QString m_family;
    std::vector<int> m_delays;
    LEDPalette m_palette{};
    ImagePaletteDialog::Uses m_uses{};
    // Children of this dialog.
    PicturePane* m_preview = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_frameText = nullptr;
    QLabel* m_delayText = nullptr;
    QLabel* m_addressText = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_forward = nullptr;
    QPushButton* m_paletteButton = nullptr;
    QTimer* m_timer = nullptr;
};
