#pragma once

#include "quorel/QuorelSettings.h"

#include <QSize>
#include <QWidget>

#include <array>

class QButtonGroup;
class ValueSlider;

// The creator's sampling controls: Sample Size (its range set by the media's first frame),
// Sample Zoom, the five 0..255 levels and the three button groups, with "Reset To Defaults".
// Every change reports settingsChanged(). The sliders tick every 8, Sample Size not at all.
class QuorelSettingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit QuorelSettingsPanel(QWidget* parent = nullptr);

    QuorelSettings Settings() const;
    // Media of this first-frame size (invalid: none) sets the Sample Size range: 10..10 without
    // media, else 10 up to a third of the shorter edge, at most 100. Reports no change (the
    // owner samples again once the media is in place).
    void SetMediaSize(QSize size);
    // A template's Sample Size and Sample Zoom, set without reporting a change.
    void SetTemplateValues(int sampleSize, int sampleZoom);

    ValueSlider* SampleSize() const { return m_sampleSize; }
    ValueSlider* SampleZoom() const { return m_sampleZoom; }

public slots:
    void onResetToDefaults();

signals:
    void settingsChanged();
    // The user moved the template's sliders.
    void sampleSizeChanged(int value);
    void sampleZoomChanged(int value);

private:
    struct Level {
        const char* label;
        int defaultValue;
        int QuorelSettings::*field;
    };
    static constexpr std::array<Level, 5> kLevels = {{
        {"Contrast:", 128, &QuorelSettings::contrast},
        {"Brightness:", 128, &QuorelSettings::brightness},
        {"Luminance Weight:", 0, &QuorelSettings::luminanceWeight},
        {"Distance Weight:", 0, &QuorelSettings::distanceWeight},
        {"Luminance Cutoff:", 0, &QuorelSettings::cutoff},
    }};
    int SampleDefault() const;

    bool m_haveMedia = false;
    // Children of this widget.
    ValueSlider* m_sampleSize = nullptr;
    ValueSlider* m_sampleZoom = nullptr;
    std::array<ValueSlider*, kLevels.size()> m_levels{};
    QButtonGroup* m_cutoffMode = nullptr;
    QButtonGroup* m_luminance = nullptr;
    QButtonGroup* m_colourMode = nullptr;
};
