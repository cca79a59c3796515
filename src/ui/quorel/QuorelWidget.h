#pragma once

#include "quorel/QuorelSettings.h"
#include "quorel/QuorelTemplate.h"
#include "ui/quorel/QuorelCanvasPainter.h"

#include <QImage>
#include <QWidget>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QMenu;

// The canvas of the Quorel creator: a template's fixtures over the media frame, where the
// technician selects (click, Ctrl-click, rubber band on empty canvas), drags, deletes,
// renumbers and adds fixtures, and places the media (middle button or Shift with the left
// button on empty canvas moves it, the wheel scales it about the cursor). A locked template
// can only be looked at and selected. The right button on empty canvas pans the view.
//
// The canvas is the unit square; at zoom 32 it fills the shorter side of the widget.
class QuorelWidget : public QWidget {
    Q_OBJECT
public:
    enum class Option { ShowMedia, ShowSamples, ShowMask, ShowAddresses, ShowGrid, SnapToGrid };

    static constexpr int kFittedZoom = 32;
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 256;
    static constexpr int kDefaultGridScale = 16;
    static constexpr int kMaxGridScale = 256;
    static constexpr int kMaxAddress = 512;
    // The size of an added fixture when the template has none to copy it from.
    static constexpr double kDefaultFixtureSize = 0.1;

    explicit QuorelWidget(QWidget* parent = nullptr);
    ~QuorelWidget() override;

    // The template to show and edit; nullptr shows an empty canvas. Takes the template's zoom.
    void SetTemplate(QuorelTemplate* quorel);
    QuorelTemplate* Template() const { return m_template; }

    // The current media frame, drawn into the template's frame; a null image shows none.
    void SetMedia(const QImage& frame);
    const QImage& Media() const { return m_media; }
    // The sampling controls, for the sample squares.
    void SetSettings(const QuorelSettings& settings);
    const QuorelSettings& Settings() const { return m_settings; }
    // The colours each fixture shows for the current frame, in its family's LED order; a
    // fixture without colours is drawn as an outline.
    void SetPreview(std::map<const QuorelTypes::Fixture*, std::vector<QRgb>> leds);
    void ClearPreview();

    void SetOption(Option option, bool on);
    bool IsOn(Option option) const;
    // The grid divides the canvas into `scale` parts each way (1..256).
    void SetGridScale(int scale);
    int GridScale() const { return m_options.gridScale; }

    // The magnification, also kept as the template's zoom (1..256, 32 fits the canvas).
    void SetZoom(int zoom);
    int Zoom() const { return m_zoom; }
    // The canvas point shown in the middle of the widget.
    void SetViewCentre(QPointF centre);
    QPointF ViewCentre() const { return m_centre; }

    QPointF ToCanvas(QPointF onWidget) const;
    QPointF ToWidget(QPointF onCanvas) const;
    // The topmost fixture under a widget position, or nullptr.
    QuorelTypes::Fixture* FixtureAt(QPointF onWidget) const;
    std::vector<QuorelTypes::Fixture*> SelectedFixtures() const;
    // "Selected Quorel Address: N", "Multiple Fixtures Selected" or
    // "Selected Quorel Address: N/A".
    QString SelectionText() const;

    // The fixture menu: "Delete" and, with exactly one fixture selected, "Renumber"; nullptr
    // when the template is locked.
    std::unique_ptr<QMenu> FixtureMenu(QuorelTypes::Fixture* fixture);
    // Removes the selected fixtures (or `fixture` alone when it is not selected).
    void DeleteFixtures(QuorelTypes::Fixture* fixture);
    // Asks for the fixture's new Quorel address.
    void RenumberFixture(QuorelTypes::Fixture* fixture);

public slots:
    // A fixture of the template's family in the middle of the view, the size of the last
    // fixture, with the lowest free address, selected alone.
    void addFixture();

signals:
    void onFixtureDragBegin(QuorelTypes::Fixture* fixture);
    // The dragged fixture's new centre (x, y) and how far it moved since the drag began.
    void onFixtureDrag(QuorelTypes::Fixture* fixture, double x, double y, double dx, double dy);
    void onFixtureDragEnd(QuorelTypes::Fixture* fixture);
    // Emitted just before the fixture is deleted.
    void onFixtureDeleted(QuorelTypes::Fixture* fixture);
    void onFixtureSelected(QuorelTypes::Fixture* fixture, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers);
    // `dragged`: the press moved the fixture.
    void onFixtureReleased(QuorelTypes::Fixture* fixture, bool dragged, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers);
    // The template was changed here (fixtures, addresses, media placement): time to save.
    void templateEdited();
    // The media frame moved or was scaled (also during a move).
    void frameChanged();
    void selectionTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Mode { None, Fixtures, Media, RubberBand, Pan };

    struct Drag {
        Mode mode = Mode::None;
        Qt::MouseButton button = Qt::NoButton;
        QuorelTypes::Fixture* target = nullptr;
        QPointF origin;  // the press, in canvas units
        QPoint pressed;  // the press, on the widget
        bool moved = false;
        bool reselect = false;  // a click on a selected fixture selects it alone on release
        std::vector<std::pair<QuorelTypes::Fixture*, QPointF>> starts;
        QuorelTemplate::Frame frame{};
        QPointF centre;
        QRectF band;
        std::vector<QuorelTypes::Fixture*> before;  // the selection a Ctrl rubber band adds to
    };

    QTransform ToWidgetTransform() const;
    bool Editable() const { return m_template && !m_template->locked; }
    QPointF Snapped(QPointF point) const;
    void ClearSelection();
    void SelectOnly(QuorelTypes::Fixture* fixture);
    void SelectionChanged();
    void Edited();

    void PressFixture(QMouseEvent* event, QuorelTypes::Fixture* fixture);
    void PressEmpty(QMouseEvent* event);
    void StartFixtureDrag(QuorelTypes::Fixture* fixture);
    void DragFixtures(QPointF to);
    void MoveMedia(QPointF to);
    void SelectBand(QPointF to);
    void ScaleMedia(QPointF about, double factor);

    QuorelTemplate* m_template = nullptr;
    QImage m_media;
    QuorelSettings m_settings;
    QuorelCanvasPainter::Preview m_preview;
    QuorelCanvasPainter::Options m_options;
    int m_zoom = kFittedZoom;
    QPointF m_centre{0.5, 0.5};
    Drag m_drag;
    QString m_selectionText;
    QuorelCanvasPainter m_painter;
};
