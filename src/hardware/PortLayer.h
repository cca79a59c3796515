#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <memory>

namespace Hardware {

// The platform's reach to the widget driver: enumerate the present devices of an interface
// class, open a device path, issue the driver's I/O control requests, write DMX frames,
// close; plus a hot-plug source that reports device changes. One instance per process,
// chosen at start-up.
class PortLayer {
public:
    using Handle = quintptr;
    static constexpr Handle kInvalidHandle = ~Handle(0);

    struct IoResult {
        int status = 0;     // 0 on success, otherwise an errno value
        QByteArray output;  // for a write: empty; the byte count is in `transferred`
        quint32 transferred = 0;
    };

    virtual ~PortLayer() = default;

    // Device paths of the present devices of a class, in the layer's enumeration order.
    virtual QStringList Enumerate(const QUuid& interfaceClass) = 0;
    // Opens a device; kInvalidHandle on failure, with the errno value in *error.
    virtual Handle Open(const QString& path, int* error) = 0;
    virtual IoResult IoControl(Handle handle, quint32 code, const QByteArray& input,
                               quint32 outputCapacity) = 0;
    virtual IoResult Write(Handle handle, const QByteArray& data) = 0;
    // Cancels pending I/O of a handle (a request blocked on it fails).
    virtual void CancelIo(Handle handle) = 0;
    virtual void Close(Handle handle) = 0;

    // Starts reporting device changes through `onChange`, which the layer calls on the
    // thread that owns the hot-plug source (the window thread). False when the source
    // cannot be started; the caller tries again later.
    virtual bool StartHotPlug(std::function<void()> onChange) = 0;
    virtual void StopHotPlug() = 0;

    // The process-wide layer: the one installed, else a layer without devices.
    static PortLayer& Instance();
    // Installs the process-wide layer and returns the one it replaces.
    static std::unique_ptr<PortLayer> Install(std::unique_ptr<PortLayer> layer);
};

}  // namespace Hardware
