#pragma once

#include "quorel/QuorelMedia.h"
#include "quorel/QuorelPreview.h"
#include "quorel/QuorelTemplateList.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QuorelContentLibraryRoot;
class QQuorelTemplateListModel;
class QuorelFrameBar;
class QuorelSettingsPanel;
class QuorelTemplateListView;
class QuorelWidget;

// "Quorel Creator": the technician picks or edits a template on the canvas, loads a picture or
// clip, tunes the sampling while the canvas shows what every fixture will show for the current
// frame (stepping or playing the clip), and creates the Quorel: every fixture rendered into an
// LED image of its family, stored under a name in the Quorel library. The templates are saved
// to templates.xml after every edit and when the dialog goes.
class QuorelDialog : public QDialog {
    Q_OBJECT

public:
    // `library` is the Quorel library the window shows; without one the dialog opens the
    // library on disk itself. `templatesPath` defaults to templates.xml in the content library.
    explicit QuorelDialog(QWidget* parent = nullptr, QuorelContentLibraryRoot* library = nullptr,
                          const QString& templatesPath = QString());
    ~QuorelDialog() override;

    // Loads a picture or clip as the media; false, with the warning shown, when it cannot be
    // decoded (the previous media stays).
    bool LoadMedia(const QString& path);
    // Selects the template at `row` (-1: none).
    void SelectTemplate(int row);

    QuorelTemplateList& Templates() { return m_templates; }
    QuorelTemplate* Current() const { return m_current; }
    const QuorelMedia& Media() const { return m_media; }
    QuorelWidget* Canvas() const { return m_canvas; }
    QuorelSettingsPanel* SettingsPanel() const { return m_settings; }
    QuorelFrameBar* FrameBar() const { return m_frames; }
    QuorelTemplateListView* TemplateView() const { return m_view; }
    QPushButton* CreateButton() const { return m_create; }

public slots:
    void onCreateNewMarqaTemplate();
    void onCreateNewSolviTemplate();
    void onDeleteTemplate();
    void onChangeTemplateLock();
    void onSelectMedia();
    void onSettingsChange();
    void onFrameChanged();
    void onExpandCollapse();
    void onCreateQuorel();

private:
    QWidget* BuildTemplatePanel();
    QWidget* BuildCanvasPanel();
    QWidget* BuildMediaPanel();
    void CreateTemplate(int fixtureType);
    void DeleteTemplate(int row);
    void ShowTemplates(int selectRow);
    void TemplateChanged();
    void SaveTemplates();
    void ShowMediaText();
    void UpdateControls();
    // Renders every fixture and asks for the name until the collage is stored or the user
    // gives up; the images are rendered once per create.
    void CreateQuorel();
    QuorelContentLibraryRoot& Library();

    QString m_templatesPath;
    QuorelTemplateList m_templates;
    QuorelTemplate* m_current = nullptr;
    QuorelMedia m_media;
    QuorelPreview m_preview;
    QuorelContentLibraryRoot* m_library;
    std::unique_ptr<QuorelContentLibraryRoot> m_ownLibrary;
    QTimer m_saveSoon;  // saves once sliders rest

    // Children of this dialog.
    QQuorelTemplateListModel* m_model = nullptr;
    QuorelTemplateListView* m_view = nullptr;
    QPushButton* m_remove = nullptr;
    QWidget* m_templatePanel = nullptr;
    QWidget* m_mediaPanel = nullptr;
    QuorelWidget* m_canvas = nullptr;
    QLabel* m_selection = nullptr;
    QCheckBox* m_lock = nullptr;
    QPushButton* m_addFixture = nullptr;
    QList<QCheckBox*> m_options;
    QSlider* m_gridScale = nullptr;
    QLabel* m_gridLabel = nullptr;
    QLabel* m_mediaText = nullptr;
    QuorelSettingsPanel* m_settings = nullptr;
    QuorelFrameBar* m_frames = nullptr;
    QPushButton* m_expand = nullptr;
    QPushButton* m_create = nullptr;
};
