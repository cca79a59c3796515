#include "ui/import/ImageImportDialog.h"

#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/ImageStore.h"
#include "content/import/SettingsImageImport.h"
#include "ui/import/PicturePane.h"
#include "ui/import/ValueSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// A slider that reports a new value only when its handle is let go: every change samples all
// frames again.
ValueSlider* NewSlider(const QString& name, int minimum, int maximum, int value, QWidget* parent) {
    auto* slider = new ValueSlider(minimum, maximum, value, parent);
    slider->Slider()->setObjectName(name);
    slider->Slider()->setTracking(false);
    return slider;
}

QComboBox* NewChoice(const QString& name, const QStringList& choices, int current,
                     QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(choices);
    box->setCurrentIndex(current);
    return box;
}

QGroupBox* Group(const QString& title, QWidget* content, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

}  // namespace

ImageImportDialog::ImageImportDialog(const QString& family, const QString& file, QWidget* parent)
    : QDialog(parent), m_file(file) {
    setWindowTitle(tr("%1 Image Import - %2").arg(family, QFileInfo(file).fileName()));
    BuildWidgets();
}

void ImageImportDialog::BuildWidgets() {
    const ImportSettings defaults;
    m_preview = new PicturePane(this);
    m_original = new PicturePane(this);
    // Ranges that depend on the file are set when the dialog is first shown.
    m_frame = NewSlider(tr("Frame"), 0, 0, 0, this);
    m_showMask = new QCheckBox(tr("Show"), this);
    m_showMask->setObjectName("Show");

    auto* settings = new QGroupBox(tr("Settings"), this);
    auto* form = new QFormLayout(settings);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto addChoice = [&](const QString& label, const QStringList& choices, int current) {
        QComboBox* box = NewChoice(label, choices, current, settings);
        form->addRow(label, box);
        connect(box, &QComboBox::currentIndexChanged, this, &ImageImportDialog::UpdateImport);
        return box;
    };
    const auto addSlider = [&](const QString& label, int minimum, int maximum, int value) {
        ValueSlider* slider = NewSlider(label, minimum, maximum, value, settings);
        form->addRow(label, slider);
        connect(slider->Slider(), &QSlider::valueChanged, this, &ImageImportDialog::UpdateImport);
        return slider;
    };
    m_aspect = addChoice(tr("Aspect Ratio"), {tr("Keep"), tr("Ignore")}, int(defaults.aspect));
    m_sampleSize = addSlider(tr("Sample Size"), ImportSettings::kMinSampleSize,
                             ImportSettings::kMinSampleSize, ImportSettings::kMinSampleSize);
    m_sampleSize->Slider()->setInvertedAppearance(true);
    for (size_t i = 0; i < kLevels.size(); ++i) {
        m_levels[i] = addSlider(tr(kLevels[i].label), 0, ImportSettings::kMaxLevel,
                                defaults.*kLevels[i].field);
    }
    m_cutoffMode =
        addChoice(tr("Cutoff Mode"), {tr("Less"), tr("Greater")}, int(defaults.cutoffMode));
    m_luminance = addChoice(tr("Luminance"), {tr("Normal"), tr("Invert")}, defaults.invert ? 1 : 0);
    m_colour = addChoice(tr("Color"), {tr("Normal"), tr("Greyscale"), tr("Monochrome")},
                         int(defaults.colour));

    auto* buttons = new QDialogButtonBox(this);
    m_accept = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_accept->setDefault(true);

    auto* panes = new QHBoxLayout;
    panes->addWidget(Group(tr("Preview"), m_preview, this), 1);
    panes->addWidget(Group(tr("Original"), m_original, this), 1);
    auto* frameRow = new QWidget(this);
    auto* frameLayout = new QFormLayout(frameRow);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    frameLayout->addRow(tr("Frame"), m_frame);
    auto* left = new QVBoxLayout;
    left->addLayout(panes, 1);
    left->addWidget(Group(tr("Import"), frameRow, this));
    auto* right = new QVBoxLayout;
    right->addWidget(Group(tr("Sample Mask"), m_showMask, this));
    right->addWidget(settings);
    right->addStretch();
    settings->setMinimumWidth(340);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    m_applyToAll = new QCheckBox(this);
    m_applyToAll->hide();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_applyToAll);
    buttonRow->addWidget(buttons, 1);
    layout->addLayout(buttonRow);
    resize(1060, 580);

    connect(m_frame->Slider(), &QSlider::valueChanged, this,
            &ImageImportDialog::UpdateImportPreview);
    connect(m_showMask, &QCheckBox::toggled, this, &ImageImportDialog::UpdateMask);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool ImageImportDialog::Load(QString* error) {
    ImageStore store(SettingsImageImport::kMaxFrameEdge, SettingsImageImport::kMaxFrameEdge);
    if (!FrameReaders::ReadFrames(m_file, store, error)) {
        return false;
    }
    Importer().SetFrames(store.Frames());
    m_rangesSet = false;
    return true;
}

void ImageImportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_rangesSet && Importer().FrameCount() > 0) {
        m_rangesSet = true;
        SetFileRanges();
        UpdateImport();
    }
}

void ImageImportDialog::SetFileRanges() {
    const ImageImporter& importer = Importer();
    m_frame->SetQuietly(0, importer.FrameCount() - 1, 0);
    const int largest = ImportSettings::MaxSampleSize(importer.Picture(0).size());
    m_sampleSize->SetQuietly(
        ImportSettings::kMinSampleSize, largest,
        std::clamp(ImportSettings().sampleSize, ImportSettings::kMinSampleSize, largest));
}

void ImageImportDialog::OfferApplyToAll(int files) {
    m_applyToAll->setText(tr("Apply to all %1 files").arg(files));
    m_applyToAll->setVisible(files > 1);
}

bool ImageImportDialog::ApplyToAll() const {
    return m_applyToAll->isVisibleTo(this) && m_applyToAll->isChecked();
}

ImportSettings ImageImportDialog::SettingsFromControls() const {
    ImportSettings settings;
    settings.aspect = ImportSettings::Aspect(m_aspect->currentIndex());
    settings.sampleSize = m_sampleSize->Slider()->value();
    for (size_t i = 0; i < kLevels.size(); ++i) {
        settings.*kLevels[i].field = m_levels[i]->Slider()->value();
    }
    settings.cutoffMode = ImportSettings::CutoffMode(m_cutoffMode->currentIndex());
    settings.invert = m_luminance->currentIndex() == 1;
    settings.colour = ImportSettings::ColourMode(m_colour->currentIndex());
    return settings;
}

void ImageImportDialog::UpdateImport() {
    ImageImporter& importer = Importer();
    if (importer.FrameCount() == 0) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    importer.SetSettings(
        SettingsImageImport::Fitted(SettingsFromControls(), importer.Picture(0).size()));
    importer.Compute();
    TakeComputation();
    QGuiApplication::restoreOverrideCursor();
    UpdateImportPreview();
}

void ImageImportDialog::UpdateImportPreview() {
    const ImageImporter& importer = Importer();
    const int frame = m_frame->Slider()->value();
    if (frame < 0 || frame >= importer.FrameCount()) {
        return;
    }
    m_preview->SetPicture(RenderPreview(frame, kPreviewSize));
    m_original->SetPicture(importer.Picture(frame));
    UpdateMask();
}

void ImageImportDialog::UpdateMask() {
    ImageImporter& importer = Importer();
    const int frame = m_frame->Slider()->value();
    if (!m_showMask->isChecked() || frame < 0 || frame >= importer.FrameCount()) {
        m_original->SetOutlines({}, PicturePane::Shape::Ellipse);
        return;
    }
    // Each LED reads the square of its mask cells around its pixel; the mask is the ellipse
    // inscribed in it unless every cell counts (the corner cell tells).
    const LedSampler& sampler = importer.SamplerFor(importer.Picture(frame).size());
    const int span = sampler.MaskCells() * sampler.MaskStep();
    std::vector<QRectF> outlines;
    outlines.reserve(sampler.LedPixels().size());
    for (const QPoint& at : sampler.LedPixels()) {
        outlines.emplace_back(at.x() - span / 2, at.y() - span / 2, span, span);
    }
    m_original->SetOutlines(std::move(outlines), sampler.MaskCell(0, 0)
                                                     ? PicturePane::Shape::Rectangle
                                                     : PicturePane::Shape::Ellipse);
}
