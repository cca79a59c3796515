#include "ui/import/ValueSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

ValueSlider::ValueSlider(int minimum, int maximum, int value, QWidget* parent)
    : QWidget(parent), m_slider(new QSlider(Qt::Horizontal, this)), m_value(new QLabel(this)) {
    m_slider->setRange(minimum, maximum);
    m_slider->setValue(value);
    m_slider->setTickInterval(kTickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);
    // Room for the widest value the dialogs show, so the slider does not jump as it changes.
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_value);
    connect(m_slider, &QSlider::valueChanged, this, &ValueSlider::ShowValue);
    connect(m_slider, &QSlider::sliderMoved, this, &ValueSlider::ShowValue);
    ShowValue(m_slider->value());
}

void ValueSlider::SetQuietly(int minimum, int maximum, int value) {
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(minimum, maximum);
        m_slider->setValue(value);
    }
    ShowValue(m_slider->value());
}

void ValueSlider::ShowValue(int value) {
    m_value->setText(QString::number(value));
}
