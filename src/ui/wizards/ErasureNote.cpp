#include "ui/wizards/ErasureNote.h"

#include "content/operations/FixtureTrees.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "ui/wizards/DeviceChecklist.h"

namespace {

constexpr int kNoteRefreshMs = 250;

QString NoteCount(int count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString NoteDevices(int count) {
    return NoteCount(count, QStringLiteral("checked device"), QStringLiteral("checked devices"));
}

}  // namespace

ErasureNote::ErasureNote(const DeviceChecklist* list, int (LumoRDM::*count)() const,
                         const QString& format, QWidget* parent)
    : QLabel(parent), m_list(list), m_count(count), m_format(format) {
    setWordWrap(true);
    setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
    m_reading.setInterval(kNoteRefreshMs);
    connect(list, &DeviceChecklist::CheckedChanged, this, &ErasureNote::Refresh);
    connect(&m_reading, &QTimer::timeout, this, &ErasureNote::Refresh);
    Refresh();
}

void ErasureNote::Refresh() {
    const QList<LumoRDM*> fixtures = m_list->CheckedFixtures();
    int items = 0;
    int reading = 0;
    int unread = 0;
    for (LumoRDM* fixture : fixtures) {
        const LumoRDMContentRoot* root = FixtureTree(fixture);
        const auto state = root ? root->ContentRead() : LumoRDMContentFolder::ReadFailed;
        reading += state == LumoRDMContentFolder::Reading ? 1 : 0;
        unread += state == LumoRDMContentFolder::ReadFailed ? 1 : 0;
        items += (fixture->*m_count)();
    }
    if (reading > 0) {
        m_reading.start();
    } else {
        m_reading.stop();
    }
    if (fixtures.isEmpty()) {
        clear();
        return;
    }
    QString text = m_format.arg(NoteCount(items, QStringLiteral("item"), QStringLiteral("items")),
                                NoteDevices(int(fixtures.size())));
    if (reading > 0) {
        text += QStringLiteral("  Still reading the content of %1.").arg(NoteDevices(reading));
    }
    if (unread > 0) {
        text += QStringLiteral("  The content of %1 could not be read: more may be removed.")
                    .arg(NoteDevices(unread));
    }
    setText(text);
}
