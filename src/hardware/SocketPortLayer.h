#pragma once

#include "hardware/PortLayer.h"

#include <map>
#include <memory>
#include <mutex>

namespace Hardware {

class DirectoryWatch;

// Widgets served over Unix-domain stream sockets (widget socket protocol version 1): each
// class is a folder named by its GUID below the widget folder, each present widget a
// listening "NAME.sock" in it. A socket file appearing or vanishing is a device change.
class SocketPortLayer final : public PortLayer {
public:
    static constexpr int kDefaultReplyTimeoutMs = 5000;

    explicit SocketPortLayer(QString widgetDir);
    ~SocketPortLayer() override;

    // The widget folder and what chose it: "--widget-dir", "$AUREL_WIDGET_DIR" or "the
    // default folder".
    struct WidgetDirChoice {
        QString path;
        QString origin;
    };
    // `--widget-dir`, else AUREL_WIDGET_DIR, else the per-user runtime folder.
    static WidgetDirChoice ChooseWidgetDir(const QString& fromCommandLine = {});
    static QString ResolveWidgetDir(const QString& fromCommandLine = {}) {
        return ChooseWidgetDir(fromCommandLine).path;
    }
    static QString ClassDir(const QString& widgetDir, const QUuid& interfaceClass);

    const QString& WidgetDir() const { return m_widgetDir; }
    // How long a request waits for its reply before it fails with ETIMEDOUT.
    void SetReplyTimeoutMs(int ms) { m_replyTimeoutMs = ms; }

    QStringList Enumerate(const QUuid& interfaceClass) override;
    Handle Open(const QString& path, int* error) override;
    IoResult IoControl(Handle handle, quint32 code, const QByteArray& input,
                       quint32 outputCapacity) override;
    IoResult Write(Handle handle, const QByteArray& data) override;
    void CancelIo(Handle handle) override;
    void Close(Handle handle) override;
    // Watches the widget folder and its class folders; a widget folder that is missing is
    // not made (reading the widgets leaves no trace) but waited for through its nearest
    // existing parent.
    bool StartHotPlug(std::function<void()> onChange) override;
    void StopHotPlug() override;

private:
    class Connection;
    std::shared_ptr<Connection> ConnectionOf(Handle handle);
    IoResult Request(Handle handle, quint32 kind, quint32 code, const QByteArray& input,
                     quint32 outputCapacity);

    const QString m_widgetDir;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
    std::mutex m_lock;
    std::map<Handle, std::shared_ptr<Connection>> m_connections;
    Handle m_nextHandle = 1;
    std::unique_ptr<DirectoryWatch> m_watcher;
};

}  // namespace Hardware
