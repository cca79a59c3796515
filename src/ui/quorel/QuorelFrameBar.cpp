#include "ui/quorel/QuorelFrameBar.h"

#include "quorel/QuorelMedia.h"
#include "ui/quorel/QuorelHighResTimer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

QPushButton* TransportButton(const QString& icon, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(QIcon(icon), QString(), parent);
    button->setToolTip(tip);
    return button;
}

QString Seconds(qint64 ms) {
    return QString::asprintf("%.2f", double(ms) / 1000.0);
}

}  // namespace

QuorelFrameBar::QuorelFrameBar(QWidget* parent)
    : QWidget(parent),
      m_timer(new QuorelHighResTimer(this)),
      m_slider(new QSlider(Qt::Horizontal, this)),
      m_frameLabel(new QLabel(FrameText(nullptr, 0), this)),
      m_timeLabel(new QLabel(TimeText(nullptr, 0), this)),
      m_back(TransportButton(":/Resources/button-back.png", "Previous Frame", this)),
      m_play(TransportButton(":/Resources/button-play.png", "Play", this)),
      m_forward(TransportButton(":/Resources/button-forward.png", "Next Frame", this)) {
    m_slider->setRange(0, 0);
    m_slider->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_back, m_play, m_forward}) {
        button->setEnabled(false);
        buttons->addWidget(button);
    }
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_frameLabel, 0, 0);
    layout->addWidget(m_slider, 0, 1);
    layout->addLayout(buttons, 0, 2);
    layout->addWidget(m_timeLabel, 1, 1);
    layout->setColumnStretch(1, 1);

    connect(m_slider, &QSlider::valueChanged, this, &QuorelFrameBar::onFrameChanged);
    connect(m_back, &QPushButton::clicked, this, &QuorelFrameBar::onRewind);
    connect(m_play, &QPushButton::clicked, this, &QuorelFrameBar::onPlayPause);
    connect(m_forward, &QPushButton::clicked, this, &QuorelFrameBar::onForward);
    connect(m_timer, &QuorelHighResTimer::timeout, this, &QuorelFrameBar::onTimerFrame);
}

QString QuorelFrameBar::FrameText(const QuorelMedia* media, int frame) {
    const int count = media ? media->FrameCount() : 0;
    return QString::asprintf("Frame (%d/%d):", count > 0 ? frame + 1 : 0, count);
}

QString QuorelFrameBar::TimeText(const QuorelMedia* media, int frame) {
    if (!media || media->FrameCount() < 2) {
        return QStringLiteral("Time: 0.00s/0.00s - Frame Delay: 0.00s");
    }
    return QStringLiteral("Time: %1s/%2s - Frame Delay: %3s")
        .arg(Seconds(media->StartOf(frame)), Seconds(media->Duration()),
             Seconds(media->Delay(frame)));
}

int QuorelFrameBar::FrameCount() const {
    return m_media ? m_media->FrameCount() : 0;
}

void QuorelFrameBar::SetMedia(const QuorelMedia* media) {
    ShowPlaying(false);
    m_media = media;
    const int count = FrameCount();
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, std::max(0, count - 1));
        m_slider->setValue(0);
    }
    m_slider->setEnabled(count > 0);
    for (QPushButton* button : {m_back, m_play, m_forward}) {
        button->setEnabled(count > 1);
    }
    onFrameChanged();
}

int QuorelFrameBar::Current() const {
    return m_slider->value();
}

bool QuorelFrameBar::IsPlaying() const {
    return m_timer->IsActive();
}

void QuorelFrameBar::onFrameChanged() {
    m_frameLabel->setText(FrameText(m_media, Current()));
    m_timeLabel->setText(TimeText(m_media, Current()));
    emit frameChanged(Current());
}

void QuorelFrameBar::onRewind() {
    m_slider->setValue(Current() - 1);
}

void QuorelFrameBar::onForward() {
    m_slider->setValue(Current() + 1);
}

void QuorelFrameBar::onPlayPause() {
    if (FrameCount() < 2) {
        return;
    }
    ShowPlaying(!IsPlaying());
}

void QuorelFrameBar::onTimerFrame() {
    const int next = (Current() + 1) % std::max(1, FrameCount());
    m_slider->setValue(next);
    m_timer->Next(m_media->Delay(next));
}

void QuorelFrameBar::ShowPlaying(bool playing) {
    if (playing) {
        m_timer->Start(m_media->Delay(Current()));
    } else {
        m_timer->Stop();
    }
    m_play->setIcon(
        QIcon(playing ? ":/Resources/button-pause.png" : ":/Resources/button-play.png"));
    m_play->setToolTip(playing ? "Pause" : "Play");
}
