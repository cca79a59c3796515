#include "ui/quorel/QuorelSettingsPanel.h"

#include "ui/import/ValueSlider.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

QuorelSettingsPanel::QuorelSettingsPanel(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout;
    const auto addSlider = [&](const QString& label, int minimum, int maximum, int value) {
        auto* slider = new ValueSlider(minimum, maximum, value, this);
        slider->Slider()->setObjectName(label);
        form->addRow(label, slider);
        connect(slider->Slider(), &QSlider::valueChanged, this,
                &QuorelSettingsPanel::settingsChanged);
        return slider;
    };
    m_sampleSize = addSlider("Sample Size:", QuorelSettings::kMinSampleSize,
                             QuorelSettings::kMinSampleSize, QuorelSettings::kMinSampleSize);
    m_sampleSize->Slider()->setTickPosition(QSlider::NoTicks);
    m_sampleZoom = addSlider("Sample Zoom:", 1, 256, QuorelSettings{}.sampleZoom);
    for (size_t i = 0; i < kLevels.size(); ++i) {
        m_levels[i] = addSlider(kLevels[i].label, 0, 255, kLevels[i].defaultValue);
    }
    connect(m_sampleSize->Slider(), &QSlider::valueChanged, this,
            &QuorelSettingsPanel::sampleSizeChanged);
    connect(m_sampleZoom->Slider(), &QSlider::valueChanged, this,
            &QuorelSettingsPanel::sampleZoomChanged);

    const auto addGroup = [&](const QString& label, const QStringList& buttons) {
        auto* row = new QWidget(this);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(row);
        for (int id = 0; id < buttons.size(); ++id) {
            auto* button = new QRadioButton(buttons[id], row);
            group->addButton(button, id);
            layout->addWidget(button);
        }
        layout->addStretch(1);
        group->button(0)->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this, &QuorelSettingsPanel::settingsChanged);
        form->addRow(label, row);
        return group;
    };
    m_cutoffMode = addGroup("Cutoff Mode:", {"Less", "Greater"});
    m_luminance = addGroup("Luminance:", {"Normal", "Invert"});
    m_colourMode = addGroup("Color Mode:", {"Normal", "Greyscale", "Monochrome"});

    auto* reset = new QPushButton("Reset To Defaults", this);
    connect(reset, &QPushButton::clicked, this, &QuorelSettingsPanel::onResetToDefaults);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(reset, 0, Qt::AlignRight);
}

QuorelSettings QuorelSettingsPanel::Settings() const {
    QuorelSettings settings;
    settings.sampleSize = m_sampleSize->Slider()->value();
    settings.sampleZoom = m_sampleZoom->Slider()->value();
    for (size_t i = 0; i < kLevels.size(); ++i) {
        settings.*kLevels[i].field = m_levels[i]->Slider()->value();
    }
    settings.cutoffMode = ImportSettings::CutoffMode(m_cutoffMode->checkedId());
    settings.invert = m_luminance->checkedId() == 1;
    settings.colour = ImportSettings::ColourMode(m_colourMode->checkedId());
    return settings;
}

int QuorelSettingsPanel::SampleDefault() const {
    return m_haveMedia ? QuorelSettings{}.sampleSize : QuorelSettings::kMinSampleSize;
}

void QuorelSettingsPanel::SetMediaSize(QSize size) {
    m_haveMedia = size.isValid() && !size.isEmpty();
    const int maximum =
        m_haveMedia ? QuorelSettings::MaxSampleSize(size) : QuorelSettings::kMinSampleSize;
    m_sampleSize->SetQuietly(QuorelSettings::kMinSampleSize, maximum, SampleDefault());
}

void QuorelSettingsPanel::SetTemplateValues(int sampleSize, int sampleZoom) {
    const QSlider* size = m_sampleSize->Slider();
    if (m_haveMedia) {
        m_sampleSize->SetQuietly(size->minimum(), size->maximum(), sampleSize);
    }
    const QSlider* zoom = m_sampleZoom->Slider();
    m_sampleZoom->SetQuietly(zoom->minimum(), zoom->maximum(), sampleZoom);
}

void QuorelSettingsPanel::onResetToDefaults() {
    {
        const QSignalBlocker blocker(this);
        m_sampleSize->Slider()->setValue(SampleDefault());
        m_sampleZoom->Slider()->setValue(QuorelSettings{}.sampleZoom);
        for (size_t i = 0; i < kLevels.size(); ++i) {
            m_levels[i]->Slider()->setValue(kLevels[i].defaultValue);
        }
        for (QButtonGroup* group : {m_cutoffMode, m_luminance, m_colourMode}) {
            group->button(0)->setChecked(true);
        }
    }
    emit sampleSizeChanged(m_sampleSize->Slider()->value());
    emit sampleZoomChanged(m_sampleZoom->Slider()->value());
    emit settingsChanged();
}
