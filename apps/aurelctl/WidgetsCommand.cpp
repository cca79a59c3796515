#include "WidgetsCommand.h"

#include "hardware/InterfaceClasses.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace WidgetsCommand {

namespace {

QString Firmware(const Hardware::WidgetSummary& widget) {
    return QStringLiteral("%1.%2").arg(widget.firmwareMajor).arg(widget.firmwareMinor);
}

}  // namespace

QByteArray FormatTable(const QList<Hardware::WidgetSummary>& widgets) {
    if (widgets.isEmpty()) {
        return "No widgets found.\n";
    }
    const QStringList headings = {"PATH", "INTERFACE CLASS", "PRODUCT", "PORTS", "FIRMWARE"};
    QList<QStringList> rows = {headings};
    for (const Hardware::WidgetSummary& widget : widgets) {
        rows.append({widget.path, Hardware::InterfaceClasses::Text(widget.interfaceClass),
                     QString::number(widget.productCode), QString::number(widget.portCount),
                     Firmware(widget)});
    }
    QList<int> widths(headings.size(), 0);
    for (const QStringList& row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], int(row[i].size()));
        }
    }
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i) {
            cells.append(i + 1 < row.size() ? row[i].leftJustified(widths[i]) : row[i]);
        }
        text += cells.join("  ") + "\n";
    }
    return text.toUtf8();
}

QByteArray FormatJson(const QList<Hardware::WidgetSummary>& widgets) {
    QJsonArray list;
    for (const Hardware::WidgetSummary& widget : widgets) {
        list.append(QJsonObject{
            {"path", widget.path},
            {"interfaceClass", Hardware::InterfaceClasses::Text(widget.interfaceClass)},
            {"productCode", widget.productCode},
            {"ports", widget.portCount},
            {"firmware", Firmware(widget)},
        });
    }
    return QJsonDocument(QJsonObject{{"widgets", list}}).toJson(QJsonDocument::Indented);
}

}  // namespace WidgetsCommand
