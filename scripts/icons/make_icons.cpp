// Draws the program's icons and banner into a folder (src/ui/resources/Resources).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

const QColor kInk(38, 48, 66);      // outlines and bodies
const QColor kSteel(96, 110, 132);  // secondary metal
const QColor kAmber(246, 176, 38);  // light and accents
const QColor kRed(214, 52, 52);
const QColor kGreen(46, 150, 84);
const QColor kBlue(44, 110, 200);

void Save(const QString& dir, const QString& name, int w, int h,
          const std::function<void(QPainter&)>& draw) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    if (!image.save(dir + "/" + name)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    }
}

// A par can seen from the side, lens to the right, on its yoke; drawn in a 16 x 16 grid.
void Fixture(QPainter& p, qreal x = 0, qreal y = 0, qreal s = 1) {
    p.save();
    p.translate(x, y);
    p.scale(s, s);
    p.setPen(QPen(kSteel, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(7, 12), QPointF(7, 15));
    p.drawLine(QPointF(4, 15), QPointF(10, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPainterPath body;
    body.moveTo(1.5, 5);
    body.lineTo(10, 3);
    body.lineTo(10, 12.5);
    body.lineTo(1.5, 10.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(kAmber);
    p.drawEllipse(QRectF(8.5, 2.5, 4, 10.5));
    p.restore();
}

void Badge(QPainter& p, const QColor& colour) {
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
}

void AppIcon(QPainter& p, qreal size) {
    p.scale(size / 32, size / 32);
    QLinearGradient back(0, 0, 0, 32);
    back.setColorAt(0, QColor(56, 70, 96));
    back.setColorAt(1, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    QRadialGradient beam(QPointF(9, 16), 24);
    beam.setColorAt(0, QColor(255, 214, 120, 230));
    beam.setColorAt(1, QColor(255, 214, 120, 0));
    QPainterPath cone;
    cone.moveTo(9, 11);
    cone.lineTo(31, 3);
    cone.lineTo(31, 29);
    cone.lineTo(9, 21);
    cone.closeSubpath();
    p.setBrush(beam);
    p.drawPath(cone);
    p.setBrush(kAmber);
    p.drawEllipse(QRectF(4, 8, 9, 16));
    p.setBrush(QColor(255, 236, 180));
    p.drawEllipse(QRectF(6.5, 12, 4, 8));
}

// A transport glyph of the image view (24 x 24): a triangle pointing left or right with a
// bar at its tip, a lone triangle, or two bars.
enum class Transport { Back, Play, Pause, Forward };

void TransportGlyph(QPainter& p, Transport glyph) {
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kInk);
    switch (glyph) {
        case Transport::Back:
            p.drawRoundedRect(QRectF(5, 5, 2.5, 14), 0.8, 0.8);
            p.drawPolygon(QPolygonF({QPointF(19, 5), QPointF(19, 19), QPointF(9, 12)}));
            break;
        case Transport::Play:
            p.drawPolygon(QPolygonF({QPointF(7, 4.5), QPointF(7, 19.5), QPointF(19.5, 12)}));
            break;
        case Transport::Pause:
            p.drawRoundedRect(QRectF(6.5, 5, 4, 14), 0.8, 0.8);
            p.drawRoundedRect(QRectF(13.5, 5, 4, 14), 0.8, 0.8);
            break;
        case Transport::Forward:
            p.drawPolygon(QPolygonF({QPointF(5, 5), QPointF(5, 19), QPointF(15, 12)}));
            p.drawRoundedRect(QRectF(16.5, 5, 2.5, 14), 0.8, 0.8);
            break;
    }
}

void Banner(QPainter& p, int w, int h) {
    QLinearGradient back(0, 0, 0, h);
    back.setColorAt(0, QColor(56, 70, 96));
    back.setColorAt(1, QColor(28, 36, 50));
    p.fillRect(0, 0, w, h, back);
    p.setPen(QPen(kAmber, 2));
    p.drawLine(0, h - 1, w, h - 1);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? argv[1] : "Resources";
    QDir().mkpath(dir);

    Save(dir, "icon16.png", 16, 16, [](QPainter& p) { AppIcon(p, 16); });
    Save(dir, "icon32.png", 32, 32, [](QPainter& p) { AppIcon(p, 32); });
    Save(dir, "fixture-16.png", 16, 16, [](QPainter& p) { Fixture(p); });
    Save(dir, "fixtures-16.png", 16, 16, [](QPainter& p) {
        Fixture(p, -1, -1, 0.7);
        Fixture(p, 5, 4, 0.75);
    });
    Save(dir, "fixture-discover-16.png", 16, 16, [](QPainter& p) {
        Fixture(p, 0, 0, 0.8);
        p.setPen(QPen(kBlue, 1.6));
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QRectF(8, 7, 5.5, 5.5));
        p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 12.5), QPointF(15, 14.8));
    });
    Save(dir, "fixture-upgrade-16.png", 16, 16, [](QPainter& p) {
        Fixture(p, 0, 0, 0.8);
        Badge(p, kGreen);
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 14), QPointF(12, 10.3));
        p.drawLine(QPointF(10.3, 12), QPointF(12, 10.3));
        p.drawLine(QPointF(13.7, 12), QPointF(12, 10.3));
    });
    Save(dir, "fixture-content-16.png", 16, 16, [](QPainter& p) {
        Fixture(p, 0, 0, 0.8);
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 8.5, 8, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(8.5, 15), QPointF(11.5, 11), QPointF(14.5, 15)}));
        p.setBrush(kAmber);
        p.drawEllipse(QRectF(12, 9.5, 2.5, 2.5));
    });
    Save(dir, "fixture-delete-16.png", 16, 16, [](QPainter& p) {
        Fixture(p, 0, 0, 0.8);
        Badge(p, kRed);
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, 10.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(10.5, 13.5), QPointF(13.5, 10.5));
    });
    Save(dir, "power.png", 16, 16, [](QPainter& p) {
        p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
        p.drawLine(QPointF(8, 1.8), QPointF(8, 8));
    });
    Save(dir, "help-16.png", 16, 16, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        QFont font("DejaVu Sans", 9);
        font.setBold(true);
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "?");
    });
    Save(dir, "truss-16.png", 16, 16, [](QPainter& p) {
        p.setPen(QPen(kSteel, 1.5));
        p.drawLine(QPointF(0.5, 4), QPointF(15.5, 4));
        p.drawLine(QPointF(0.5, 9), QPointF(15.5, 9));
        p.setPen(QPen(kSteel, 1));
        for (int x = 0; x < 16; x += 5) {
            p.drawLine(QPointF(x + 0.5, 4), QPointF(x + 3, 9));
            p.drawLine(QPointF(x + 3, 9), QPointF(x + 5.5, 4));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(3, 9.5, 3, 2));
        p.drawRect(QRectF(10, 9.5, 3, 2));
        p.setBrush(kAmber);
        p.drawEllipse(QRectF(2.5, 11, 4, 4.5));
        p.drawEllipse(QRectF(9.5, 11, 4, 4.5));
    });
    auto database = [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        for (int i = 2; i >= 0; --i) {
            const qreal y = 2 + i * 4;
            p.setBrush(i % 2 ? kAmber : QColor(252, 206, 110));
            p.drawRect(QRectF(2.5, y + 2, 11, 4));
            p.drawEllipse(QRectF(2.5, y + 4, 11, 4));
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(3, y + 2, 10, 4));
            p.setPen(QPen(kInk, 1));
        }
        p.setBrush(QColor(255, 236, 180));
        p.drawEllipse(QRectF(2.5, 1.5, 11, 4));
    };
    Save(dir, "content-database-16.png", 16, 16, database);
    Save(dir, "content-package-16.png", 16, 16, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(214, 168, 108));
        p.drawRect(QRectF(1.5, 5.5, 13, 9));
        p.setBrush(QColor(232, 196, 140));
        p.drawPolygon(
            QPolygonF({QPointF(1.5, 5.5), QPointF(4, 1.5), QPointF(12, 1.5), QPointF(14.5, 5.5)}));
        p.setPen(QPen(kAmber, 2));
        p.drawLine(QPointF(8, 5.5), QPointF(8, 14.5));
    });
    Save(dir, "content-unknown.png", 64, 64, [](QPainter& p) {
        p.setPen(QPen(kSteel, 2));
        p.setBrush(QColor(240, 242, 246));
        p.drawRoundedRect(QRectF(8, 4, 48, 56), 4, 4);
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(36);
        p.setFont(font);
        p.setPen(kSteel);
        p.drawText(QRectF(8, 4, 48, 56), Qt::AlignCenter, "?");
    });

    // A folder tab and body, drawn in a 16 x 16 grid and scaled for the preview's picture.
    auto folder = [](QPainter& p, qreal s) {
        p.scale(s, s);
        p.setPen(QPen(kInk, s > 1 ? 0.5 : 1));  // two pixels wide when scaled
        p.setBrush(QColor(226, 170, 60));
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
                                 QPointF(14.5, 5), QPointF(14.5, 13.5), QPointF(1.5, 13.5)}));
        p.setBrush(kAmber);
        p.drawRect(QRectF(1.5, 6.5, 13, 7));
    };
    Save(dir, "content-folder-16.png", 16, 16, [&](QPainter& p) { folder(p, 1); });
    Save(dir, "content-folder.png", 64, 64, [&](QPainter& p) { folder(p, 4); });
    // An LED image: coloured dots on a dark disc.
    Save(dir, "content-16.png", 16, 16, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(30, 30, 36));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        const QColor dots[] = {kRed, kGreen, kBlue, kAmber};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(QRectF(4 + (i % 2) * 5, 4 + (i / 2) * 5, 3, 3));
        }
    });

    const std::pair<const char*, Transport> transport[] = {
        {"button-back.png", Transport::Back},
        {"button-play.png", Transport::Play},
        {"button-pause.png", Transport::Pause},
        {"button-forward.png", Transport::Forward},
    };
    for (const auto& [name, glyph] : transport) {
        Save(dir, name, 24, 24, [glyph](QPainter& p) { TransportGlyph(p, glyph); });
    }

    const int h = 56;
    Save(dir, "banner-mid.png", 8, h, [](QPainter& p) { Banner(p, 8, h); });
    Save(dir, "banner-left.png", 300, h, [](QPainter& p) {
        Banner(p, 300, h);
        p.save();
        p.translate(10, 8);
        AppIcon(p, 40);
        p.restore();
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(26);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(60, 6, 240, 30), Qt::AlignLeft | Qt::AlignVCenter, "Aurel");
        font.setBold(false);
        font.setPixelSize(11);
        p.setFont(font);
        p.setPen(QColor(200, 210, 226));
        p.drawText(QRectF(61, 34, 240, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   "DMX512 · RDM · LED fixture content");
    });
    Save(dir, "banner-right.png", 220, h, [](QPainter& p) {
        Banner(p, 220, h);
        for (int i = 0; i < 3; ++i) {
            const qreal x = 70 + i * 50;
            QLinearGradient beam(x, 6, x, h - 2);
            beam.setColorAt(0, QColor(255, 214, 120, 150));
            beam.setColorAt(1, QColor(255, 214, 120, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(beam);
            p.drawPolygon(QPolygonF({QPointF(x - 4, 8), QPointF(x + 4, 8), QPointF(x + 18, h - 2),
                                     QPointF(x - 18, h - 2)}));
            p.setBrush(kAmber);
            p.drawEllipse(QRectF(x - 5, 3, 10, 6));
        }
        QFont font("DejaVu Sans");
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(200, 210, 226));
        p.drawText(QRectF(0, 36, 212, 16), Qt::AlignRight | Qt::AlignVCenter, "CORVANE");
    });
    return 0;
}
