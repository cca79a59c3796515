#include "hardware/usbpro/UsbProPortLayer.h"

#include "hardware/DirectoryWatch.h"
#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/usbpro/UsbProInterface.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace Hardware {

namespace {

// Serial devices of USB converters, as the kernel names them.
const QStringList kSerialNodes = {"ttyUSB*", "ttyACM*"};

QString OpenFailure(const QString& path, int error) {
    QString text = QStringLiteral("Cannot open serial device %1: %2")
                       .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    if (error == EACCES) {
        text += " (is the user in the dialout group?)";
    }
    return text;
}

}  // namespace

UsbProPortLayer::UsbProPortLayer() : UsbProPortLayer(Locations{}) {}

UsbProPortLayer::UsbProPortLayer(Locations locations) : m_locations(std::move(locations)) {}

UsbProPortLayer::UsbProPortLayer(QString device) : m_device(std::move(device)) {}

UsbProPortLayer::~UsbProPortLayer() {
    m_watch.reset();
    std::lock_guard lock(m_lock);
    m_open.clear();
    m_present.clear();  // closes the links
}

QUuid UsbProPortLayer::InterfaceClass() {
    return InterfaceClasses::All()[2];
}

QStringList UsbProPortLayer::Candidates() const {
    if (!m_device.isEmpty()) {
        return QFileInfo::exists(m_device) ? QStringList{m_device} : QStringList{};
    }
    // One name per device: the stable name when there is one, else the kernel's.
    std::map<QString, QString> byDevice;
    const auto filters = QDir::System | QDir::Files | QDir::NoDotAndDotDot;
    for (const QFileInfo& link : QDir(m_locations.byIdDir).entryInfoList(filters)) {
        if (const QString device = link.canonicalFilePath(); !device.isEmpty()) {
            byDevice.emplace(device, link.absoluteFilePath());
        }
    }
    for (const QFileInfo& node : QDir(m_locations.devDir).entryInfoList(kSerialNodes, filters)) {
        byDevice.emplace(node.canonicalFilePath(), node.absoluteFilePath());
    }
    QStringList names;
    for (const auto& [device, name] : byDevice) {
        names.append(name);
    }
    names.sort();
    return names;
}

QStringList UsbProPortLayer::WatchedFolders() const {
    if (!m_device.isEmpty()) {
        return {QFileInfo(m_device).absolutePath()};
    }
    return {m_locations.devDir, QFileInfo(m_locations.byIdDir).absolutePath(), m_locations.byIdDir};
}

void UsbProPortLayer::Refresh() {
    const QStringList candidates = Candidates();
    QStringList fresh;
    {
        std::lock_guard lock(m_lock);
        std::erase_if(m_rejected, [&](const QString& path) { return !candidates.contains(path); });
        std::erase_if(m_present, [&](const auto& entry) {
            const auto& [path, found] = entry;
            if (found->Connection().IsGone()) {
                m_rejected.insert(path);  // until the device vanishes and comes back
            }
            return !candidates.contains(path) || !found->IsUsable();
        });
        for (const QString& path : candidates) {
            if (m_present.count(path) == 0 && m_rejected.count(path) == 0) {
                fresh.append(path);
            }
        }
    }
    // Probing takes a moment per device, so it runs without the lock.
    for (const QString& path : fresh) {
        int error = 0;
        InterfacePtr found = UsbPro::Interface::Probe(path, &error);
        std::lock_guard lock(m_lock);
        if (found) {
            const UsbPro::Identity& id = found->Id();
            OS_LOG_INFO(Log::UsbPro(),
                        QStringLiteral("Interface found: path %1, serial %2, firmware %3.%4, "
                                       "break %5 and mark %6 (x 10.67 us), %7 frames/s")
                            .arg(path)
                            .arg(id.serialNumber, 8, 16, QChar('0'))
                            .arg(id.firmwareMajor)
                            .arg(id.firmwareMinor)
                            .arg(id.breakTime)
                            .arg(id.markTime)
                            .arg(id.refreshRate));
            m_present[path] = found;
            Follow(found);
        } else if (error == 0) {
            m_rejected.insert(path);
        } else {
            OS_LOG_WARNING(Log::UsbPro(), OpenFailure(path, error));
        }
    }
}

void UsbProPortLayer::Follow(const InterfacePtr& found) {
    if (m_watch) {
        DirectoryWatch* watch = m_watch.get();
        QObject::connect(&found->Connection(), &UsbPro::Link::Gone, watch,
                         [watch] { watch->Poke(); });
    }
}

QStringList UsbProPortLayer::Enumerate(const QUuid& interfaceClass) {
    if (interfaceClass != InterfaceClass()) {
        return {};
    }
    Refresh();
    std::lock_guard lock(m_lock);
    QStringList paths;
    for (const auto& [path, found] : m_present) {
        paths.append(path);
    }
    return paths;
}

PortLayer::Handle UsbProPortLayer::Open(const QString& path, int* error) {
    std::lock_guard lock(m_lock);
    const auto it = m_present.find(path);
    if (it == m_present.end() || !it->second->IsUsable()) {
        *error = ENOENT;
        return kInvalidHandle;
    }
    const Handle handle = m_nextHandle++;  // never reused, so a stale handle stays stale
    m_open[handle] = it->second;
    return handle;
}

UsbProPortLayer::InterfacePtr UsbProPortLayer::InterfaceOf(Handle handle) {
    std::lock_guard lock(m_lock);
    const auto it = m_open.find(handle);
    return it == m_open.end() ? nullptr : it->second;
}

PortLayer::IoResult UsbProPortLayer::IoControl(Handle handle, quint32 code, const QByteArray& input,
                                               quint32 outputCapacity) {
    const InterfacePtr found = InterfaceOf(handle);
    if (!found) {
        return {EBADF, {}, 0};
    }
    return found->IoControl(code, input, outputCapacity);
}

PortLayer::IoResult UsbProPortLayer::Write(Handle handle, const QByteArray& data) {
    const InterfacePtr found = InterfaceOf(handle);
    if (!found) {
        return {EBADF, {}, 0};
    }
    return found->Write(data);
}

void UsbProPortLayer::CancelIo(Handle handle) {
    if (const InterfacePtr found = InterfaceOf(handle)) {
        found->Cancel();
    }
}

void UsbProPortLayer::Close(Handle handle) {
    InterfacePtr closed;
    std::lock_guard lock(m_lock);
    const auto it = m_open.find(handle);
    if (it == m_open.end()) {
        return;
    }
    closed = std::move(it->second);
    m_open.erase(it);
    if (!closed->IsUsable()) {
        // A cancelled interface is closed now and probed afresh when it is asked for again.
        m_present.erase(closed->Path());
    }
}

bool UsbProPortLayer::StartHotPlug(std::function<void()> onChange) {
    std::lock_guard lock(m_lock);
    m_watch = std::make_unique<DirectoryWatch>([this] { return WatchedFolders(); },
                                               std::move(onChange), kSettleMs);
    for (const auto& [path, found] : m_present) {
        Follow(found);
    }
    return m_watch->Watches(WatchedFolders().first());
}

void UsbProPortLayer::StopHotPlug() {
    std::lock_guard lock(m_lock);
    m_watch.reset();
}

}  // namespace Hardware
