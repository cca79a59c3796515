#include "WhenModal.h"
#include "content/ledimage/LEDImageRender.h"
#include "quorel/QuorelTemplateList.h"
#include "ui/AddressDialog.h"
#include "ui/quorel/QQuorelTemplateListModel.h"
#include "ui/quorel/QuorelCanvasPainter.h"
#include "ui/quorel/QuorelTemplateListView.h"
#include "ui/quorel/QuorelWidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using Fixture = QuorelTypes::Fixture;
using Option = QuorelWidget::Option;

QStringList ActionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts.append(action->text());
    }
    return texts;
}

QAction* ActionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

TEST(QuorelTemplateListTest, ModelShowsTheFamilyAndRenamesWithTheBareName) {
    QuorelTemplateList list;
    list.AddNew(QuorelTypes::kMarqa);
    list.AddNew(QuorelTypes::kSolvi);
    list.AddNew(7);  // any family but 0 is Solvi
    QQuorelTemplateListModel model;
    model.SetTemplates(&list);
    const QStringList shown{"New Template 1 (Ma)", "New Template 2 (So)", "New Template 3 (So)"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(model.index(row).data(Qt::DisplayRole).toString(), shown[row]);
        EXPECT_EQ(model.index(row).data(Qt::EditRole).toString(), list.At(row)->name);
    }

    std::vector<int> renamed;
    QObject::connect(&model, &QQuorelTemplateListModel::templateRenamed,
                     [&](int row) { renamed.push_back(row); });
    EXPECT_FALSE(model.setData(model.index(1), "   "));
    EXPECT_TRUE(model.setData(model.index(1), " Truss "));
    EXPECT_EQ(list.At(1)->name, "Truss");
    EXPECT_EQ(model.index(1).data().toString(), "Truss (So)");
    EXPECT_EQ(renamed, std::vector<int>{1});

    list.Remove(0);
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0).data().toString(), "Truss (So)");
}

TEST(QuorelTemplateListTest, ViewMenuRenamesInPlaceAndAsksToDelete) {
    QuorelTemplateList list;
    list.AddNew(QuorelTypes::kMarqa);
    list.AddNew(QuorelTypes::kMarqa);
    QQuorelTemplateListModel model;
    model.SetTemplates(&list);
    QuorelTemplateListView view;
    view.setModel(&model);
    EXPECT_EQ(view.TemplateMenu(2), nullptr);

    std::vector<int> deleted;
    QObject::connect(&view, &QuorelTemplateListView::deleteRequested,
                     [&](int row) { deleted.push_back(row); });
    std::unique_ptr<QMenu> menu = view.TemplateMenu(1);
    ASSERT_TRUE(menu);
    EXPECT_EQ(ActionTexts(*menu), (QStringList{"Rename", "Delete"}));
    ActionNamed(*menu, "Delete")->trigger();
    EXPECT_EQ(deleted, std::vector<int>{1});
    EXPECT_EQ(list.Count(), 2);  // the owner deletes

    view.show();
    ActionNamed(*view.TemplateMenu(1), "Rename")->trigger();
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), "New Template 2");
    editor->setText("Wall");
    QTest::keyClick(editor, Qt::Key_Return);  // the view commits from its event loop
    EXPECT_TRUE(QTest::qWaitFor([&list] { return list.At(1)->name == "Wall"; }, 2000));
}

// A 400 x 400 canvas (400 pixels per canvas unit, the canvas origin at the widget's) over a
// template of two Marqa fixtures, numbers 1 and 3, left and right of the middle.
class QuorelWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_quorel.name = "Rig";
        m_left = m_quorel.AddFixture({{0.3, 0.5}, {0.2, 0.2}, 1});
        m_right = m_quorel.AddFixture({{0.7, 0.5}, {0.2, 0.2}, 3});
        m_widget.resize(400, 400);
        m_widget.SetTemplate(&m_quorel);
        QObject::connect(&m_widget, &QuorelWidget::onFixtureDragBegin,
                         [this](Fixture* f) { Log("begin", f); });
        QObject::connect(&m_widget, &QuorelWidget::onFixtureDrag,
                         [this](Fixture* f, double, double, double, double) { Log("drag", f); });
        QObject::connect(&m_widget, &QuorelWidget::onFixtureDragEnd,
                         [this](Fixture* f) { Log("end", f); });
        QObject::connect(&m_widget, &QuorelWidget::onFixtureDeleted,
                         [this](Fixture* f) { Log("deleted", f); });
        QObject::connect(
            &m_widget, &QuorelWidget::onFixtureSelected,
            [this](Fixture* f, Qt::MouseButtons, Qt::KeyboardModifiers) { Log("selected", f); });
        QObject::connect(&m_widget, &QuorelWidget::onFixtureReleased,
                         [this](Fixture* f, bool dragged, Qt::MouseButtons, Qt::KeyboardModifiers) {
                             Log(dragged ? "released dragged" : "released", f);
                         });
        QObject::connect(&m_widget, &QuorelWidget::templateEdited,
                         [this] { m_log.append("edited"); });
        QObject::connect(&m_widget, &QuorelWidget::selectionTextChanged,
                         [this](const QString& text) { m_label = text; });
    }

    void Log(const char* what, const Fixture* fixture) {
        m_log.append(QStringLiteral("%1 %2").arg(what).arg(fixture->num));
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, QPointF at,
               Qt::KeyboardModifiers modifiers = {}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, at, m_widget.mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(&m_widget, &event);
    }

    // Presses at the first point, moves through the others and releases at the last.
    void Drag(std::vector<QPointF> path, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {}) {
        Mouse(QEvent::MouseButtonPress, button, path.front(), modifiers);
        for (size_t i = 1; i < path.size(); ++i) {
            Mouse(QEvent::MouseMove, button, path[i], modifiers);
        }
        Mouse(QEvent::MouseButtonRelease, button, path.back(), modifiers);
    }

    void Click(QPointF at, Qt::KeyboardModifiers modifiers = {}) {
        Drag({at}, Qt::LeftButton, modifiers);
    }

    void Wheel(QPointF at, int steps) {
        QWheelEvent event(at, m_widget.mapToGlobal(at), {}, {0, 120 * steps}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&m_widget, &event);
    }

    QuorelTemplate m_quorel;
    Fixture* m_left = nullptr;
    Fixture* m_right = nullptr;
    QuorelWidget m_widget;
    QStringList m_log;
    QString m_label;
};

TEST_F(QuorelWidgetTest, DraggingAFixtureMovesItAndEndsWithAnEdit) {
    Drag({{120, 200}, {130, 200}, {160, 220}});
    EXPECT_NEAR(m_left->pos.x(), 0.4, 1e-9);
    EXPECT_NEAR(m_left->pos.y(), 0.55, 1e-9);
    EXPECT_EQ(m_right->pos, QPointF(0.7, 0.5));
    EXPECT_EQ(m_log, (QStringList{"selected 1", "begin 1", "drag 1", "drag 1", "end 1", "edited",
                                  "released dragged 1"}));
    EXPECT_EQ(m_label, "Selected Quorel Address: 1");

    // A click without a move edits nothing.
    m_log.clear();
    Click({160, 220});
    EXPECT_EQ(m_log, (QStringList{"selected 1", "released 1"}));
}

TEST_F(QuorelWidgetTest, SnappingMovesTheSelectionByTheDraggedFixturesSnap) {
    m_widget.SetOption(Option::SnapToGrid, true);
    m_widget.SetGridScale(10);
    Click({120, 200});
    Click({280, 200}, Qt::ControlModifier);
    ASSERT_EQ(m_label, "Multiple Fixtures Selected");
    // 0.3 + 0.07 snaps to 0.4; the other fixture keeps its distance.
    Drag({{120, 200}, {148, 200}});
    EXPECT_NEAR(m_left->pos.x(), 0.4, 1e-9);
    EXPECT_NEAR(m_right->pos.x(), 0.8, 1e-9);
    EXPECT_NEAR(m_left->pos.y(), 0.5, 1e-9);
}

TEST_F(QuorelWidgetTest, SelectionByClickCtrlClickAndRubberBand) {
    struct Step {
        std::vector<QPointF> path;
        Qt::KeyboardModifiers modifiers;
        bool left;
        bool right;
        QString label;
    };
    const std::vector<Step> steps{
        {{{120, 200}}, {}, true, false, "Selected Quorel Address: 1"},
        {{{280, 200}}, Qt::ControlModifier, true, true, "Multiple Fixtures Selected"},
        {{{120, 200}}, Qt::ControlModifier, false, true, "Selected Quorel Address: 3"},
        {{{200, 20}}, {}, false, false, "Selected Quorel Address: N/A"},
        // A band that touches the left fixture's edge only.
        {{{10, 10}, {50, 50}, {125, 390}}, {}, true, false, "Selected Quorel Address: 1"},
        {{{390, 10}, {300, 390}}, Qt::ControlModifier, true, true, "Multiple Fixtures Selected"},
        {{{200, 10}, {390, 390}}, {}, false, true, "Selected Quorel Address: 3"},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        Drag(steps[i].path, Qt::LeftButton, steps[i].modifiers);
        EXPECT_EQ(m_left->selected, steps[i].left) << i;
        EXPECT_EQ(m_right->selected, steps[i].right) << i;
        EXPECT_EQ(m_label, steps[i].label) << i;
        EXPECT_EQ(m_widget.SelectionText(), steps[i].label) << i;
    }
    EXPECT_FALSE(m_log.contains("edited"));
}

TEST_F(QuorelWidgetTest, RenumberTakesAnAddressFromOneTo512) {
    Click({280, 200});
    std::unique_ptr<QMenu> menu = m_widget.FixtureMenu(m_right);
    ASSERT_TRUE(menu);
    EXPECT_EQ(ActionTexts(*menu), (QStringList{"Delete", "Renumber"}));
    QString label;
    WhenModal<AddressDialog>([&label](AddressDialog* dialog) {
        EXPECT_EQ(dialog->Value(), 3);
        dialog->Edit()->setText("513");
        EXPECT_FALSE(dialog->IsValueAcceptable());
        dialog->Edit()->setText("0");
        EXPECT_FALSE(dialog->IsValueAcceptable());
        dialog->Edit()->setText("42");
        dialog->accept();
    });
    ActionNamed(*menu, "Renumber")->trigger();
    EXPECT_EQ(m_right->num, 42);
    EXPECT_EQ(m_label, "Selected Quorel Address: 42");
    EXPECT_TRUE(m_log.contains("edited"));
}

TEST_F(QuorelWidgetTest, DeleteRemovesTheSelectedFixtures) {
    Click({120, 200});
    Click({280, 200}, Qt::ControlModifier);
    std::unique_ptr<QMenu> menu = m_widget.FixtureMenu(m_right);
    ASSERT_TRUE(menu);
    EXPECT_EQ(ActionTexts(*menu), QStringList{"Delete"});
    m_log.clear();
    ActionNamed(*menu, "Delete")->trigger();
    EXPECT_EQ(m_log, (QStringList{"deleted 1", "deleted 3", "edited"}));
    EXPECT_TRUE(m_quorel.Fixtures().empty());
    EXPECT_EQ(m_label, "Selected Quorel Address: N/A");
    EXPECT_FALSE(m_quorel.RemoveFixture(m_left));
}

TEST_F(QuorelWidgetTest, ALockedTemplateCanOnlyBeSelected) {
    m_quorel.locked = true;
    const QuorelTemplate::Frame frame = m_quorel.frame;
    Drag({{120, 200}, {160, 240}});
    EXPECT_EQ(m_left->pos, QPointF(0.3, 0.5));
    EXPECT_TRUE(m_left->selected);
    Drag({{200, 50}, {250, 90}}, Qt::MiddleButton);
    Wheel({200, 200}, 2);
    EXPECT_EQ(m_quorel.frame, frame);
    EXPECT_EQ(m_widget.FixtureMenu(m_left), nullptr);
    m_widget.addFixture();
    EXPECT_EQ(m_quorel.Fixtures().size(), 2u);

    // A right press offers no menu (one shown would be closed at once and remembered).
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = true;
            popup->close();
        }
    });
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, {280, 200});
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, {280, 200});
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(m_right->selected);
    EXPECT_FALSE(m_log.contains("edited"));
    EXPECT_FALSE(m_log.contains("begin 1"));
}

TEST_F(QuorelWidgetTest, AddedFixturesSitInTheMiddleOfTheViewWithTheNextFreeAddress) {
    m_widget.SetZoom(64);
    m_widget.SetViewCentre({0.25, 0.75});
    m_right->scale = {0.15, 0.05};
    m_widget.addFixture();
    ASSERT_EQ(m_quorel.Fixtures().size(), 3u);
    const Fixture& added = *m_quorel.Fixtures().back();
    EXPECT_EQ(added.pos, QPointF(0.25, 0.75));
    EXPECT_EQ(added.scale, QSizeF(0.15, 0.05));
    EXPECT_EQ(added.num, 2);
    EXPECT_EQ(m_widget.SelectedFixtures(), std::vector<Fixture*>{m_quorel.Fixtures().back().get()});
    EXPECT_EQ(m_label, "Selected Quorel Address: 2");
    EXPECT_EQ(m_quorel.zoom, 64);

    QuorelTemplate solvi;
    solvi.fixtureType = QuorelTypes::kSolvi;
    m_widget.SetTemplate(&solvi);
    m_widget.addFixture();
    ASSERT_EQ(solvi.Fixtures().size(), 1u);
    EXPECT_EQ(solvi.Fixtures()[0]->pos, QPointF(0.5, 0.5));
    EXPECT_EQ(solvi.Fixtures()[0]->scale, QSizeF(0.1, 0.1));
    EXPECT_EQ(solvi.Fixtures()[0]->num, 1);
    EXPECT_EQ(solvi.Fixtures()[0]->type, QuorelTypes::kSolvi);
}

TEST_F(QuorelWidgetTest, TheMediaMovesWithTheMiddleButtonAndScalesAboutTheCursor) {
    m_quorel.frame = {0.25, 0.25, 0.5, 0.5};
    Drag({{200, 20}, {220, 30}, {240, 60}}, Qt::MiddleButton);
    EXPECT_NEAR(m_quorel.frame[0], 0.35, 1e-9);
    EXPECT_NEAR(m_quorel.frame[1], 0.35, 1e-9);
    EXPECT_EQ(m_log, QStringList{"edited"});

    // The canvas point under the cursor stays where it was on the media.
    Wheel({200, 200}, 1);
    EXPECT_NEAR(m_quorel.frame[2], 0.55, 1e-9);
    EXPECT_NEAR(m_quorel.frame[3], 0.55, 1e-9);
    EXPECT_NEAR((0.5 - m_quorel.frame[0]) / m_quorel.frame[2], 0.3, 1e-9);
    EXPECT_EQ(m_log.size(), 2);
}

TEST_F(QuorelWidgetTest, PaintsThePreviewColoursAndDimsTheMediaOutsideTheDiscs) {
    QImage media(40, 40, QImage::Format_RGB32);
    media.fill(Qt::white);
    m_quorel.frame = {0, 0, 1, 1};
    m_widget.SetMedia(media);
    m_widget.SetOption(Option::ShowAddresses, false);
    m_widget.SetOption(Option::ShowMask, true);
    const int leds = LEDImageRender::ForFamily(0).LedCount();
    m_widget.SetPreview({{m_left, std::vector<QRgb>(size_t(leds), qRgb(255, 0, 0))}});
    const QImage shown = m_widget.grab().toImage();
    EXPECT_EQ(shown.pixel(120, 200), qRgb(255, 0, 0));      // the left disc's centre LED
    EXPECT_EQ(shown.pixel(280, 200), qRgb(255, 255, 255));  // media inside the right disc
    EXPECT_LT(qGray(shown.pixel(200, 40)), 128);            // media outside both

    m_widget.SetOption(Option::ShowMask, false);
    EXPECT_EQ(m_widget.grab().toImage().pixel(200, 40), qRgb(255, 255, 255));
}

TEST(QuorelCanvasPainterTest, SampleSquaresLieOnTheLedsOfTheFixture) {
    QuorelTemplate quorel;
    quorel.frame = {0, 0, 1, 1};
    const Fixture centred{{0.5, 0.5}, {0.5, 0.5}, 1};
    const QSize media(400, 400);
    const std::vector<QRectF> squares =
        QuorelCanvasPainter::SampleSquares(quorel, centred, QuorelSettings{}, media);
    const LEDImageRender& marqa = LEDImageRender::ForFamily(0);
    ASSERT_EQ(int(squares.size()), marqa.LedCount());
    // 200 pixels: the LEDs sample 5 pixels apart on a grid of 10, 50 pixels or 1/8 of the canvas.
    const QRectF& middle = squares.back();
    EXPECT_NEAR(middle.center().x(), 0.5, 2.0 / 400);
    EXPECT_NEAR(middle.center().y(), 0.5, 2.0 / 400);
    EXPECT_NEAR(middle.width(), 0.125, 2.0 / 400);
    // LED 0 is right of the top: its square lies in the fixture's upper half.
    EXPECT_LT(squares[0].center().y(), 0.4);
    EXPECT_GT(squares[0].center().x(), 0.5);

    const Fixture outside{{2, 2}, {0.1, 0.1}, 1};
    EXPECT_TRUE(
        QuorelCanvasPainter::SampleSquares(quorel, outside, QuorelSettings{}, media).empty());
}

}  // namespace
