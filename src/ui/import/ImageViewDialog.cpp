#include "ui/import/ImageViewDialog.h"

#include "ui/import/MarqaImageViewDialog.h"
#include "ui/import/PicturePane.h"
#include "ui/import/SolviImageViewDialog.h"
#include "ui/import/ValueSlider.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kIconEdge = 24;
const char* const kPlayIcon = ":/Resources/button-play.png";
const char* const kPauseIcon = ":/Resources/button-pause.png";

QToolButton* NewButton(const char* icon, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    button->setIconSize({kIconEdge, kIconEdge});
    button->setToolTip(tip);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

bool ImageViewDialog::Open(const Content& item, QWidget* parent) {
    if (const auto* marqa = qobject_cast<const MarqaImage*>(&item)) {
        MarqaImageViewDialog(*marqa, parent).exec();
        return true;
    }
    if (const auto* solvi = qobject_cast<const SolviImage*>(&item)) {
        SolviImageViewDialog(*solvi, parent).exec();
        return true;
    }
    return false;
}

QString ImageViewDialog::AddressText(int first, int last) {
    if (first <= 0) {
        return tr("DMX (none)");
    }
    if (last > first) {
        return tr("DMX %1-%2").arg(first).arg(last);
    }
    return tr("DMX %1").arg(first);
}

ImageViewDialog::ImageViewDialog(const QString& family, QWidget* parent)
    : QDialog(parent), m_family(family) {
    BuildWidgets();
}

void ImageViewDialog::BuildWidgets() {
    m_preview = new PicturePane(this);
    m_frameText = new QLabel(this);
    m_delayText = new QLabel(this);
    m_addressText = new QLabel(this);
    m_back = NewButton(":/Resources/button-back.png", tr("Back"), this);
    m_play = NewButton(kPlayIcon, tr("Play"), this);
    m_forward = NewButton(":/Resources/button-forward.png", tr("Forward"), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName("Frame");
    m_slider->setRange(0, 0);
    m_slider->setTickInterval(ValueSlider::kTickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);

    auto* previewGroup = new QGroupBox(tr("Preview"), this);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(m_preview);

    auto* info = new QHBoxLayout;
    for (QLabel* label : {m_frameText, m_delayText, m_addressText}) {
        info->addWidget(label);
        info->addSpacing(16);
    }
    info->addStretch();

    auto* transport = new QHBoxLayout;
    transport->addWidget(m_back);
    transport->addWidget(m_play);
    transport->addWidget(m_forward);
    transport->addWidget(m_slider, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_paletteButton = buttons->addButton(tr("Palette"), QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(previewGroup, 1);
    layout->addLayout(info);
    layout->addLayout(transport);
    layout->addWidget(buttons);
    resize(460, 580);

    connect(m_back, &QToolButton::clicked, this, &ImageViewDialog::FrameBackward);
    connect(m_play, &QToolButton::clicked, this, &ImageViewDialog::PlayPause);
    connect(m_forward, &QToolButton::clicked, this, &ImageViewDialog::FrameForward);
    connect(m_slider, &QSlider::valueChanged, this, &ImageViewDialog::UpdateView);
    connect(m_paletteButton, &QPushButton::clicked, this, &ImageViewDialog::OpenPalette);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_timer, &QTimer::timeout, this, &ImageViewDialog::NextFrame);
}

void ImageViewDialog::ShowImage(const QString& name, int address, std::vector<int> delays,
                                const LEDPalette& palette, const ImagePaletteDialog::Uses& uses) {
    setWindowTitle(tr("%1 Image - %2").arg(m_family, name));
    m_delays = std::move(delays);
    m_palette = palette;
    m_uses = uses;
    m_addressText->setText(AddressText(address, address));
    const bool frames = FrameCount() > 0;
    for (QWidget* control : std::initializer_list<QWidget*>{m_back, m_play, m_forward, m_slider}) {
        control->setEnabled(frames);
    }
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, std::max(0, FrameCount() - 1));
        m_slider->setValue(0);
    }
    UpdateView();
}

int ImageViewDialog::CurrentFrame() const {
    return m_slider->value();
}

bool ImageViewDialog::IsPlaying() const {
    return m_timer->isActive();
}

int ImageViewDialog::ShownDelay(int frame) const {
    return std::max(kMinDelayMs, m_delays[size_t(frame)]);
}

void ImageViewDialog::StepTo(int frame) {
    if (FrameCount() == 0) {
        return;
    }
    m_slider->setValue((frame + FrameCount()) % FrameCount());
}

void ImageViewDialog::FrameBackward() {
    StepTo(CurrentFrame() - 1);
}

void ImageViewDialog::FrameForward() {
    StepTo(CurrentFrame() + 1);
}

void ImageViewDialog::PlayPause() {
    if (m_timer->isActive()) {
        m_timer->stop();
    } else if (FrameCount() > 0) {
        m_timer->start(ShownDelay(CurrentFrame()));
    }
    const bool playing = m_timer->isActive();
    m_play->setIcon(QIcon(QString::fromLatin1(playing ? kPauseIcon : kPlayIcon)));
    m_play->setToolTip(playing ? tr("Pause") : tr("Play"));
}

void ImageViewDialog::NextFrame() {
    FrameForward();
    m_timer->start(ShownDelay(CurrentFrame()));
}

void ImageViewDialog::UpdateView() {
    const int frame = CurrentFrame();
    const bool any = FrameCount() > 0;
    m_preview->SetPicture(RenderPreview(frame, kPreviewSize));
    m_frameText->setText(tr("Frame %1/%2").arg(any ? frame + 1 : 0).arg(FrameCount()));
    m_delayText->setText(tr("Delay %1 ms").arg(any ? m_delays[size_t(frame)] : 0));
}

void ImageViewDialog::OpenPalette() {
    ImagePaletteDialog(m_family, m_palette, m_uses, this).exec();
}
