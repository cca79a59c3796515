#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;
class QuorelHighResTimer;
class QuorelMedia;

// The creator's frame controls: the frame slider with "Frame (n/N):" and the time line under
// it, and the buttons that step back, play or pause, and step forward. Playback shows each
// frame for its own delay and starts over after the last.
class QuorelFrameBar : public QWidget {
    Q_OBJECT

public:
    explicit QuorelFrameBar(QWidget* parent = nullptr);

    // The frames to step through (null or empty: none); back to the first frame, paused.
    void SetMedia(const QuorelMedia* media);
    int Current() const;
    bool IsPlaying() const;

    // "Frame (n/N):" and "Time: a/bs - Frame Delay: cs" for `frame` of `media`.
    static QString FrameText(const QuorelMedia* media, int frame);
    static QString TimeText(const QuorelMedia* media, int frame);

    QSlider* Slider() const { return m_slider; }
    QLabel* FrameLabel() const { return m_frameLabel; }
    QLabel* TimeLabel() const { return m_timeLabel; }

public slots:
    void onRewind();
    void onPlayPause();
    void onForward();
    void onTimerFrame();

signals:
    void frameChanged(int frame);

private:
    int FrameCount() const;
    void onFrameChanged();
    void ShowPlaying(bool playing);

    const QuorelMedia* m_media = nullptr;
    QuorelHighResTimer* m_timer;  // children of this widget
    QSlider* m_slider;
    QLabel* m_frameLabel;
    QLabel* m_timeLabel;
    QPushButton* m_back;
    QPushButton* m_play;
    QPushButton* m_forward;
};
