#pragma once

#include <QWidget>

class QLabel;
class QSlider;

// A horizontal slider of the import and view dialogs with its value written beside it. The
// value shows while the handle is dragged, also when the slider reports changes only on
// release.
class ValueSlider : public QWidget {
    Q_OBJECT

public:
    // The tick spacing of every slider of the import and view dialogs.
    static constexpr int kTickInterval = 8;

    // A slider from `minimum` to `maximum` at `value`, ticks every 8 below it.
    ValueSlider(int minimum, int maximum, int value, QWidget* parent = nullptr);

    QSlider* Slider() const { return m_slider; }
    // Sets range and value without reporting a change.
    void SetQuietly(int minimum, int maximum, int value);
    QLabel* ValueLabel() const { return m_value; }

private:
    void ShowValue(int value);

    QSlider* m_slider;  // children of this widget
    QLabel* m_value;
};
