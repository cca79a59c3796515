#include "ui/quorel/QuorelWidget.h"

#include "ui/AddressDialog.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

using Fixture = QuorelTypes::Fixture;
using Options = QuorelCanvasPainter::Options;

// Each option's flag, in the order of QuorelWidget::Option.
constexpr bool Options::*kOptionFlags[] = {&Options::media,     &Options::samples, &Options::mask,
                                           &Options::addresses, &Options::grid,    &Options::snap};

// The media frame is kept between these sizes (canvas units) while it is scaled.
constexpr double kMinFrame = 1e-3;
constexpr double kMaxFrame = 1e3;
// One wheel step scales the media by this factor.
constexpr double kWheelStep = 1.1;
constexpr double kWheelNotch = 120.0;

}  // namespace

QuorelWidget::QuorelWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 200);
    setFocusPolicy(Qt::StrongFocus);
    m_options.gridScale = kDefaultGridScale;
    m_selectionText = SelectionText();
}

QuorelWidget::~QuorelWidget() = default;

void QuorelWidget::SetTemplate(QuorelTemplate* quorel) {
    m_template = quorel;
    m_drag = {};
    m_preview.clear();
    m_painter.PreviewChanged();
    m_centre = {0.5, 0.5};
    m_zoom = quorel ? std::clamp(quorel->zoom, kMinZoom, kMaxZoom) : kFittedZoom;
    SelectionChanged();
    update();
}

void QuorelWidget::SetMedia(const QImage& frame) {
    m_media = frame;
    update();
}

void QuorelWidget::SetSettings(const QuorelSettings& settings) {
    m_settings = settings;
    update();
}

void QuorelWidget::SetPreview(std::map<const Fixture*, std::vector<QRgb>> leds) {
    m_preview = std::move(leds);
    m_painter.PreviewChanged();
    update();
}

void QuorelWidget::ClearPreview() {
    SetPreview({});
}

void QuorelWidget::SetOption(Option option, bool on) {
    m_options.*kOptionFlags[int(option)] = on;
    update();
}

bool QuorelWidget::IsOn(Option option) const {
    return m_options.*kOptionFlags[int(option)];
}

void QuorelWidget::SetGridScale(int scale) {
    m_options.gridScale = std::clamp(scale, 1, kMaxGridScale);
    update();
}

void QuorelWidget::SetZoom(int zoom) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (m_template) {
        m_template->zoom = m_zoom;
    }
    SetViewCentre(m_centre);
}

void QuorelWidget::SetViewCentre(QPointF centre) {
    // While the whole canvas fits it stays in the middle; closer up the view may move over it
    // but always shows some of it.
    m_centre = m_zoom <= kFittedZoom
                   ? QPointF(0.5, 0.5)
                   : QPointF(std::clamp(centre.x(), 0.0, 1.0), std::clamp(centre.y(), 0.0, 1.0));
    update();
}

QTransform QuorelWidget::ToWidgetTransform() const {
    const double scale = std::min(width(), height()) * double(m_zoom) / kFittedZoom;
    QTransform transform;
    transform.translate(width() / 2.0, height() / 2.0);
    transform.scale(scale, scale);
    transform.translate(-m_centre.x(), -m_centre.y());
    return transform;
}

QPointF QuorelWidget::ToCanvas(QPointF onWidget) const {
    return ToWidgetTransform().inverted().map(onWidget);
}

QPointF QuorelWidget::ToWidget(QPointF onCanvas) const {
    return ToWidgetTransform().map(onCanvas);
}

Fixture* QuorelWidget::FixtureAt(QPointF onWidget) const {
    if (!m_template) {
        return nullptr;
    }
    const QPointF at = ToCanvas(onWidget);
    const auto& fixtures = m_template->Fixtures();
    // The last fixture is drawn on top.
    const auto hit = std::find_if(fixtures.rbegin(), fixtures.rend(), [at](const auto& fixture) {
        return fixture->Rect().contains(at);
    });
    return hit == fixtures.rend() ? nullptr : hit->get();
}

std::vector<Fixture*> QuorelWidget::SelectedFixtures() const {
    std::vector<Fixture*> selected;
    if (m_template) {
        for (const auto& fixture : m_template->Fixtures()) {
            if (fixture->selected) {
                selected.push_back(fixture.get());
            }
        }
    }
    return selected;
}

QString QuorelWidget::SelectionText() const {
    const std::vector<Fixture*> selected = SelectedFixtures();
    if (selected.size() > 1) {
        return tr("Multiple Fixtures Selected");
    }
    return tr("Selected Quorel Address: ") +
           (selected.empty() ? QStringLiteral("N/A") : QString::number(selected.front()->num));
}

std::unique_ptr<QMenu> QuorelWidget::FixtureMenu(Fixture* fixture) {
    if (!Editable() || !fixture) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    connect(menu->addAction(tr("Delete")), &QAction::triggered, this,
            [this, fixture] { DeleteFixtures(fixture); });
    if (SelectedFixtures().size() == 1) {
        connect(menu->addAction(tr("Renumber")), &QAction::triggered, this,
                [this, fixture] { RenumberFixture(fixture); });
    }
    return menu;
}

void QuorelWidget::DeleteFixtures(Fixture* fixture) {
    if (!Editable()) {
        return;
    }
    std::vector<Fixture*> doomed = SelectedFixtures();
    if (std::find(doomed.begin(), doomed.end(), fixture) == doomed.end()) {
        doomed = {fixture};
    }
    m_drag = {};
    for (Fixture* one : doomed) {
        emit onFixtureDeleted(one);
        m_preview.erase(one);
        m_template->RemoveFixture(one);
    }
    m_painter.PreviewChanged();
    SelectionChanged();
    Edited();
}

void QuorelWidget::RenumberFixture(Fixture* fixture) {
    if (!Editable()) {
        return;
    }
    const std::optional<int> num = AddressDialog::Ask(tr("Renumber"), tr("Quorel Address:"),
                                                      fixture->num, 1, kMaxAddress, this);
    if (!num || *num == fixture->num) {
        return;
    }
    fixture->num = *num;
    SelectionChanged();
    Edited();
}

void QuorelWidget::addFixture() {
    if (!Editable()) {
        return;
    }
    Fixture fixture;
    const auto& fixtures = m_template->Fixtures();
    fixture.scale = fixtures.empty() ? QSizeF(kDefaultFixtureSize, kDefaultFixtureSize)
                                     : fixtures.back()->scale;
    fixture.pos = Snapped(m_centre);
    fixture.num = m_template->NextFreeNum();
    fixture.type = m_template->fixtureType;
    ClearSelection();
    fixture.selected = true;
    m_template->AddFixture(fixture);
    m_painter.PreviewChanged();
    SelectionChanged();
    Edited();
}

QPointF QuorelWidget::Snapped(QPointF point) const {
    if (!m_options.snap) {
        return point;
    }
    const double step = m_options.gridScale;
    return {std::round(point.x() * step) / step, std::round(point.y() * step) / step};
}

void QuorelWidget::ClearSelection() {
    if (m_template) {
        for (const auto& fixture : m_template->Fixtures()) {
            fixture->selected = false;
        }
    }
}

void QuorelWidget::SelectOnly(Fixture* fixture) {
    ClearSelection();
    fixture->selected = true;
}

void QuorelWidget::SelectionChanged() {
    update();
    const QString text = SelectionText();
    if (text != m_selectionText) {
        m_selectionText = text;
        emit selectionTextChanged(text);
    }
}

void QuorelWidget::Edited() {
    update();
    emit templateEdited();
}

void QuorelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QuorelCanvasPainter::Scene scene;
    scene.quorel = m_template;
    scene.toWidget = ToWidgetTransform();
    scene.widget = rect();
    scene.media = &m_media;
    scene.settings = &m_settings;
    scene.preview = &m_preview;
    scene.options = m_options;
    if (m_drag.mode == Mode::RubberBand) {
        scene.rubberBand = m_drag.band;
    }
    m_painter.Paint(painter, scene);
}

void QuorelWidget::mousePressEvent(QMouseEvent* event) {
    if (!m_template || m_drag.mode != Mode::None) {
        return;
    }
    m_drag = {};
    m_drag.button = event->button();
    m_drag.pressed = event->position().toPoint();
    m_drag.origin = ToCanvas(event->position());
    if (Fixture* fixture = FixtureAt(event->position())) {
        PressFixture(event, fixture);
    } else {
        PressEmpty(event);
    }
}

void QuorelWidget::PressFixture(QMouseEvent* event, Fixture* fixture) {
    const bool toggle = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::LeftButton && toggle) {
        fixture->selected = !fixture->selected;
    } else if (!fixture->selected) {
        SelectOnly(fixture);
    } else {
        m_drag.reselect = event->button() == Qt::LeftButton;
    }
    SelectionChanged();
    emit onFixtureSelected(fixture, event->buttons(), event->modifiers());
    if (event->button() == Qt::RightButton) {
        if (std::unique_ptr<QMenu> menu = FixtureMenu(fixture)) {
            menu->exec(event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() == Qt::LeftButton && fixture->selected) {
        m_drag.mode = Mode::Fixtures;
        m_drag.target = fixture;
    } else if (event->button() == Qt::MiddleButton && Editable()) {
        m_drag.mode = Mode::Media;
        m_drag.frame = m_template->frame;
    }
}

void QuorelWidget::PressEmpty(QMouseEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool mediaButton = event->button() == Qt::MiddleButton ||
                             (event->button() == Qt::LeftButton && modifiers & Qt::ShiftModifier);
    if (mediaButton) {
        if (Editable()) {
            m_drag.mode = Mode::Media;
            m_drag.frame = m_template->frame;
        }
    } else if (event->button() == Qt::LeftButton) {
        // With Ctrl the band adds to the selection.
        if (modifiers & Qt::ControlModifier) {
            m_drag.before = SelectedFixtures();
        } else {
            ClearSelection();
            SelectionChanged();
        }
        m_drag.mode = Mode::RubberBand;
    } else if (event->button() == Qt::RightButton) {
        m_drag.mode = Mode::Pan;
        m_drag.centre = m_centre;
    }
}

void QuorelWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag.mode == Mode::None) {
        return;
    }
    if (!m_drag.moved && (event->position().toPoint() - m_drag.pressed).manhattanLength() <
                             QApplication::startDragDistance()) {
        return;
    }
    const bool starting = !m_drag.moved;
    m_drag.moved = true;
    const QPointF to = ToCanvas(event->position());
    switch (m_drag.mode) {
        case Mode::Fixtures:
            if (!Editable()) {
                return;
            }
            if (starting) {
                StartFixtureDrag(m_drag.target);
            }
            DragFixtures(to);
            break;
        case Mode::Media:
            MoveMedia(to);
            break;
        case Mode::RubberBand:
            SelectBand(to);
            break;
        case Mode::Pan:
            // The canvas follows the cursor.
            SetViewCentre(m_drag.centre -
                          QPointF(event->position() - m_drag.pressed) / ToWidgetTransform().m11());
            break;
        case Mode::None:
            break;
    }
}

void QuorelWidget::StartFixtureDrag(Fixture* target) {
    for (Fixture* fixture : SelectedFixtures()) {
        m_drag.starts.emplace_back(fixture, fixture->pos);
    }
    emit onFixtureDragBegin(target);
}

void QuorelWidget::DragFixtures(QPointF to) {
    const auto target =
        std::find_if(m_drag.starts.begin(), m_drag.starts.end(),
                     [this](const auto& start) { return start.first == m_drag.target; });
    if (target == m_drag.starts.end()) {
        return;
    }
    // The target's centre follows the cursor (onto the grid when snapping); the rest keep
    // their places relative to it.
    const QPointF offset = Snapped(target->second + (to - m_drag.origin)) - target->second;
    for (const auto& [fixture, start] : m_drag.starts) {
        fixture->pos = start + offset;
    }
    update();
    emit onFixtureDrag(m_drag.target, m_drag.target->pos.x(), m_drag.target->pos.y(), offset.x(),
                       offset.y());
}

void QuorelWidget::MoveMedia(QPointF to) {
    const QPointF offset = to - m_drag.origin;
    m_template->frame[0] = m_drag.frame[0] + offset.x();
    m_template->frame[1] = m_drag.frame[1] + offset.y();
    update();
    emit frameChanged();
}

void QuorelWidget::SelectBand(QPointF to) {
    m_drag.band = QRectF(m_drag.origin, to).normalized();
    for (const auto& fixture : m_template->Fixtures()) {
        const bool before = std::find(m_drag.before.begin(), m_drag.before.end(), fixture.get()) !=
                            m_drag.before.end();
        fixture->selected = before || fixture->Rect().intersects(m_drag.band);
    }
    SelectionChanged();
}

void QuorelWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != m_drag.button) {
        return;
    }
    if (m_drag.mode == Mode::None || !m_template) {
        m_drag = {};
        return;
    }
    const Drag drag = std::exchange(m_drag, {});
    switch (drag.mode) {
        case Mode::Fixtures:
            if (drag.moved && !drag.starts.empty()) {
                emit onFixtureDragEnd(drag.target);
                Edited();
            } else if (drag.reselect) {
                SelectOnly(drag.target);
                SelectionChanged();
            }
            emit onFixtureReleased(drag.target, drag.moved && !drag.starts.empty(),
                                   event->buttons(), event->modifiers());
            break;
        case Mode::Media:
            if (drag.moved) {
                Edited();
            }
            break;
        default:
            update();
            break;
    }
}

void QuorelWidget::wheelEvent(QWheelEvent* event) {
    if (!Editable() || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    ScaleMedia(ToCanvas(event->position()),
               std::pow(kWheelStep, event->angleDelta().y() / kWheelNotch));
    event->accept();
}

void QuorelWidget::ScaleMedia(QPointF about, double factor) {
    QuorelTemplate::Frame& frame = m_template->frame;
    const double smallest = std::min(frame[2], frame[3]);
    const double largest = std::max(frame[2], frame[3]);
    if (smallest <= 0) {
        return;  // no media rectangle to scale
    }
    factor = std::clamp(factor, kMinFrame / smallest, kMaxFrame / largest);
    frame[0] = about.x() - (about.x() - frame[0]) * factor;
    frame[1] = about.y() - (about.y() - frame[1]) * factor;
    frame[2] *= factor;
    frame[3] *= factor;
    emit frameChanged();
    Edited();
}
