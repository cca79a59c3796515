#include "ui/quorel/QuorelDialog.h"

#include "content/library/QuorelContentLibrary.h"
#include "quorel/QuorelCollage.h"
#include "quorel/QuorelLog.h"
#include "ui/LastPathFileDialog.h"
#include "ui/quorel/QQuorelTemplateListModel.h"
#include "ui/quorel/QuorelFrameBar.h"
#include "ui/quorel/QuorelRenderProgress.h"
#include "ui/quorel/QuorelSettingsPanel.h"
#include "ui/quorel/QuorelTemplateListView.h"
#include "ui/quorel/QuorelWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr char kMediaKey[] = "quorel_media_selection";
constexpr char kMediaFilter[] =
    "Media Files (*.png *.jpg *.bmp *.tif *.gif *.mpg *.mpeg *.mov);; All Files (*.*)";
// Slider edits are saved once the slider has rested this long.
constexpr int kSaveDelayMs = 300;
constexpr int kMinGridScale = 2;
constexpr int kMaxGridScale = 64;

struct CanvasOption {
    const char* text;
    QuorelWidget::Option option;
};
constexpr CanvasOption kCanvasOptions[] = {
    {"Show Media", QuorelWidget::Option::ShowMedia},
    {"Show Samples", QuorelWidget::Option::ShowSamples},
    {"Show Mask", QuorelWidget::Option::ShowMask},
    {"Show Quorel Addresses", QuorelWidget::Option::ShowAddresses},
    {"Show Grid", QuorelWidget::Option::ShowGrid},
    {"Snap To Grid", QuorelWidget::Option::SnapToGrid},
};

bool IsMarqa(const QuorelTemplate* quorel) {
    return quorel && quorel->fixtureType == QuorelTypes::kMarqa;
}

QString FamilyText(const QuorelTemplate* quorel) {
    return IsMarqa(quorel) ? QStringLiteral("MARQA") : QStringLiteral("Solvi");
}

}  // namespace

QuorelDialog::QuorelDialog(QWidget* parent, QuorelContentLibraryRoot* library,
                           const QString& templatesPath)
    : QDialog(parent),
      m_templatesPath(templatesPath.isEmpty() ? QuorelTemplateList::DefaultPath() : templatesPath),
      m_library(library) {
    setWindowTitle("Quorel Creator");
    m_templates.Load(m_templatesPath);
    m_saveSoon.setSingleShot(true);
    m_saveSoon.setInterval(kSaveDelayMs);
    connect(&m_saveSoon, &QTimer::timeout, this, &QuorelDialog::SaveTemplates);

    m_templatePanel = BuildTemplatePanel();
    m_mediaPanel = BuildMediaPanel();
    auto* columns = new QHBoxLayout;
    columns->addWidget(m_templatePanel);
    columns->addWidget(BuildCanvasPanel(), 1);
    columns->addWidget(m_mediaPanel);

    m_expand = new QPushButton("Expand", this);
    m_create = new QPushButton("Create Quorel...", this);
    auto* close = new QPushButton("Close", this);
    connect(m_expand, &QPushButton::clicked, this, &QuorelDialog::onExpandCollapse);
    connect(m_create, &QPushButton::clicked, this, &QuorelDialog::onCreateQuorel);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_expand);
    buttons->addStretch(1);
    buttons->addWidget(m_create);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(1180, 760);

    ShowTemplates(m_templates.Count() > 0 ? 0 : -1);
    ShowMediaText();
}

QuorelDialog::~QuorelDialog() {
    SaveTemplates();
}

QWidget* QuorelDialog::BuildTemplatePanel() {
    auto* panel = new QGroupBox("Templates", this);
    m_model = new QQuorelTemplateListModel(this);
    m_model->SetTemplates(&m_templates);
    m_view = new QuorelTemplateListView(panel);
    m_view->setModel(m_model);
    auto* addMarqa = new QPushButton("Add MARQA Template", panel);
    auto* addSolvi = new QPushButton("Add Solvi Template", panel);
    m_remove = new QPushButton("Remove", panel);
    connect(addMarqa, &QPushButton::clicked, this, &QuorelDialog::onCreateNewMarqaTemplate);
    connect(addSolvi, &QPushButton::clicked, this, &QuorelDialog::onCreateNewSolviTemplate);
    connect(m_remove, &QPushButton::clicked, this, &QuorelDialog::onDeleteTemplate);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { SelectTemplate(current.row()); });
    connect(m_view, &QuorelTemplateListView::deleteRequested, this, &QuorelDialog::DeleteTemplate);
    connect(m_model, &QQuorelTemplateListModel::templateRenamed, this,
            &QuorelDialog::TemplateChanged);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(m_view, 1);
    layout->addWidget(addMarqa);
    layout->addWidget(addSolvi);
    layout->addWidget(m_remove);
    panel->setFixedWidth(220);
    return panel;
}

QWidget* QuorelDialog::BuildCanvasPanel() {
    auto* panel = new QWidget(this);
    m_canvas = new QuorelWidget(panel);
    m_canvas->setMinimumSize(420, 320);
    m_selection = new QLabel(m_canvas->SelectionText(), panel);
    m_lock = new QCheckBox("Lock", panel);
    m_addFixture = new QPushButton("Add Fixture", panel);
    connect(m_lock, &QCheckBox::clicked, this, &QuorelDialog::onChangeTemplateLock);
    connect(m_addFixture, &QPushButton::clicked, m_canvas, &QuorelWidget::addFixture);
    connect(m_canvas, &QuorelWidget::selectionTextChanged, m_selection, &QLabel::setText);
    connect(m_canvas, &QuorelWidget::templateEdited, this, &QuorelDialog::TemplateChanged);
    // A fixture or the media moving changes what the fixtures show.
    connect(m_canvas, &QuorelWidget::onFixtureDrag, this, &QuorelDialog::onSettingsChange);
    connect(m_canvas, &QuorelWidget::frameChanged, this, &QuorelDialog::onSettingsChange);

    auto* options = new QGridLayout;
    for (int i = 0; i < int(std::size(kCanvasOptions)); ++i) {
        const CanvasOption& option = kCanvasOptions[i];
        auto* box = new QCheckBox(option.text, panel);
        box->setChecked(m_canvas->IsOn(option.option));
        connect(box, &QCheckBox::toggled, m_canvas,
                [this, option](bool on) { m_canvas->SetOption(option.option, on); });
        options->addWidget(box, i / 3, i % 3);
        m_options.append(box);
    }
    m_gridScale = new QSlider(Qt::Horizontal, panel);
    m_gridScale->setRange(kMinGridScale, kMaxGridScale);
    m_gridScale->setValue(m_canvas->GridScale());
    m_gridLabel = new QLabel(QString::asprintf("1:%d", m_canvas->GridScale()), panel);
    connect(m_gridScale, &QSlider::valueChanged, this, [this](int scale) {
        m_canvas->SetGridScale(scale);
        m_gridLabel->setText(QString::asprintf("1:%d", scale));
    });
    auto* grid = new QHBoxLayout;
    grid->addWidget(new QLabel("Grid:", panel));
    grid->addWidget(m_gridScale, 1);
    grid->addWidget(m_gridLabel);

    auto* editRow = new QHBoxLayout;
    editRow->addWidget(m_selection, 1);
    editRow->addWidget(m_addFixture);
    editRow->addWidget(m_lock);

    m_frames = new QuorelFrameBar(panel);
    connect(m_frames, &QuorelFrameBar::frameChanged, this, &QuorelDialog::onFrameChanged);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_canvas, 1);
    layout->addLayout(editRow);
    layout->addLayout(options);
    layout->addLayout(grid);
    layout->addWidget(m_frames);
    return panel;
}

QWidget* QuorelDialog::BuildMediaPanel() {
    auto* panel = new QWidget(this);
    auto* mediaBox = new QGroupBox("Media", panel);
    auto* select = new QPushButton("Media ...", mediaBox);
    m_mediaText = new QLabel(mediaBox);
    m_mediaText->setWordWrap(true);
    connect(select, &QPushButton::clicked, this, &QuorelDialog::onSelectMedia);
    auto* mediaLayout = new QVBoxLayout(mediaBox);
    mediaLayout->addWidget(select);
    mediaLayout->addWidget(m_mediaText);

    auto* settingsBox = new QGroupBox("Settings", panel);
    m_settings = new QuorelSettingsPanel(settingsBox);
    (new QVBoxLayout(settingsBox))->addWidget(m_settings);
    connect(m_settings, &QuorelSettingsPanel::settingsChanged, this,
            &QuorelDialog::onSettingsChange);
    connect(m_settings, &QuorelSettingsPanel::sampleZoomChanged, this, [this](int zoom) {
        if (m_current) {
            m_canvas->SetZoom(zoom);
            m_saveSoon.start();
        }
    });
    connect(m_settings, &QuorelSettingsPanel::sampleSizeChanged, this, [this](int size) {
        // Without media the slider is pinned to its minimum: the template keeps its own.
        if (m_current && !m_media.IsEmpty()) {
            m_current->sample = size;
            m_templates.MarkChanged();
            m_saveSoon.start();
        }
    });

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mediaBox);
    layout->addWidget(settingsBox);
    layout->addStretch(1);
    panel->setFixedWidth(440);
    return panel;
}

QuorelContentLibraryRoot& QuorelDialog::Library() {
    if (!m_library) {
        m_ownLibrary = std::make_unique<QuorelContentLibraryRoot>();
        m_library = m_ownLibrary.get();
    }
    return *m_library;
}

void QuorelDialog::ShowTemplates(int selectRow) {
    m_model->Refresh();
    const QModelIndex index = m_model->index(selectRow, 0);
    if (index.isValid()) {
        m_view->setCurrentIndex(index);
    }
    SelectTemplate(index.isValid() ? selectRow : -1);
}

void QuorelDialog::SelectTemplate(int row) {
    QuorelTemplate* quorel = m_templates.At(row);
    if (quorel == m_current && m_canvas->Template() == quorel) {
        return;
    }
    m_current = quorel;
    m_canvas->SetTemplate(quorel);
    if (quorel) {
        m_settings->SetTemplateValues(quorel->sample, quorel->zoom);
    }
    UpdateControls();
    onSettingsChange();  // the panel's setters report nothing
}

void QuorelDialog::UpdateControls() {
    const bool editing = m_current != nullptr;
    m_remove->setEnabled(editing);
    m_lock->setEnabled(editing);
    m_lock->setChecked(editing && m_current->locked);
    m_addFixture->setEnabled(editing && !m_current->locked);
    m_canvas->setEnabled(editing);
    m_settings->setEnabled(editing);
    m_create->setText(editing ? QStringLiteral("Create %1 Quorel...").arg(FamilyText(m_current))
                              : QStringLiteral("Create Quorel..."));
    m_create->setEnabled(editing && !m_media.IsEmpty());
}

void QuorelDialog::onCreateNewMarqaTemplate() {
    CreateTemplate(QuorelTypes::kMarqa);
}

void QuorelDialog::onCreateNewSolviTemplate() {
    CreateTemplate(QuorelTypes::kSolvi);
}

void QuorelDialog::CreateTemplate(int fixtureType) {
    const QuorelTemplate* copyFrom = nullptr;
    if (m_current && m_current->fixtureType == fixtureType &&
        QMessageBox::question(
            this, "Copy",
            "Do you want to copy the current template into the new one you are creating?",
            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        copyFrom = m_current;
    }
    m_templates.AddNew(fixtureType, copyFrom);
    ShowTemplates(m_templates.Count() - 1);
    SaveTemplates();
}

void QuorelDialog::onDeleteTemplate() {
    DeleteTemplate(m_view->currentIndex().row());
}

void QuorelDialog::DeleteTemplate(int row) {
    if (!m_templates.At(row)) {
        return;
    }
    // The canvas lets go of the template before it goes.
    m_canvas->SetTemplate(nullptr);
    m_current = nullptr;
    m_templates.Remove(row);
    ShowTemplates(std::min(row, m_templates.Count() - 1));
    SaveTemplates();
}

void QuorelDialog::onChangeTemplateLock() {
    if (!m_current) {
        return;
    }
    m_current->locked = m_lock->isChecked();
    UpdateControls();
    m_canvas->update();
    TemplateChanged();
}

void QuorelDialog::TemplateChanged() {
    m_templates.MarkChanged();
    SaveTemplates();
    onSettingsChange();
}

void QuorelDialog::SaveTemplates() {
    m_saveSoon.stop();
    m_templates.Save(m_templatesPath);
}

void QuorelDialog::onSelectMedia() {
    const QString path =
        LastPathFileDialog::Open(this, "Select Quorel Media", kMediaKey, kMediaFilter);
    if (!path.isEmpty()) {
        LoadMedia(path);
    }
}

bool QuorelDialog::LoadMedia(const QString& path) {
    QString why;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = m_media.Load(path, &why);
    QApplication::restoreOverrideCursor();
    if (!loaded) {
        QMessageBox::warning(this, "Invalid Media Format", "The media file format is unsupported.");
        return false;
    }
    m_settings->SetMediaSize(m_media.OriginalSize());
    if (m_current) {
        m_settings->SetTemplateValues(m_current->sample, m_current->zoom);
    }
    // Back to the first frame of the new media; the preview is sampled there, once.
    m_frames->SetMedia(&m_media);
    ShowMediaText();
    UpdateControls();
    return true;
}

void QuorelDialog::ShowMediaText() {
    if (m_media.IsEmpty()) {
        m_mediaText->setText("No Media Loaded");
        return;
    }
    const QSize size = m_media.OriginalSize();
    m_mediaText->setText(QStringLiteral("%1\n%2 x %3, %4 frame(s), %5 s")
                             .arg(QFileInfo(m_media.Path()).fileName())
                             .arg(size.width())
                             .arg(size.height())
                             .arg(m_media.FrameCount())
                             .arg(double(m_media.Duration()) / 1000.0, 0, 'f', 2));
}

void QuorelDialog::onFrameChanged() {
    onSettingsChange();
}

void QuorelDialog::onSettingsChange() {
    const QuorelSettings settings = m_settings->Settings();
    m_canvas->SetSettings(settings);
    if (m_media.IsEmpty()) {
        m_canvas->SetMedia(QImage());
        m_canvas->ClearPreview();
        return;
    }
    const QImage& frame = m_media.Picture(m_frames->Current());
    m_canvas->SetMedia(frame);
    if (m_current) {
        m_canvas->SetPreview(m_preview.Sample(*m_current, frame, m_media.OriginalSize(), settings));
    } else {
        m_canvas->ClearPreview();
    }
}

void QuorelDialog::onExpandCollapse() {
    const bool expand = m_templatePanel->isVisible();
    m_templatePanel->setVisible(!expand);
    m_mediaPanel->setVisible(!expand);
    m_expand->setText(expand ? "Collapse" : "Expand");
}

void QuorelDialog::onCreateQuorel() {
    if (!m_current || m_media.IsEmpty()) {
        return;
    }
    SaveTemplates();
    CreateQuorel();
}

void QuorelDialog::CreateQuorel() {
    const QString title = IsMarqa(m_current) ? QStringLiteral("Create MARQA Quorel")
                                             : QStringLiteral("Create Solvi Quorel");
    std::unique_ptr<QuorelCollage> collage;
    QString name;
    for (;;) {
        bool accepted = false;
        name = QInputDialog::getText(this, title, "Name:", QLineEdit::Normal, name, &accepted);
        if (!accepted) {
            return;
        }
        if (!collage) {
            std::vector<QuorelRenderer::Rendered> rendered;
            QString error;
            QStringList warnings;
            if (!QuorelRenderProgress::Run(this, *m_current, m_media.Path(), m_media.FrameCount(),
                                           m_settings->Settings(), &rendered, &error, &warnings)) {
                if (!error.isEmpty()) {
                    QMessageBox::warning(this, "Error", error);
                }
                return;
            }
            for (const QString& warning : warnings) {
                OS_LOG_WARNING(Quorel::Log::Quorel(), warning);
            }
            collage = std::make_unique<QuorelCollage>(m_current->fixtureType, std::move(rendered));
        }
        // A taken name (or one the library refuses) is asked again; the images stay.
        QString error;
        if (collage->StoreAs(Library(), name, &error) == QuorelCollage::Stored::Yes) {
            QMessageBox::information(this, "Success", "Quorel export complete.");
            return;
        }
        QMessageBox::warning(this, "Error", error);
    }
}
