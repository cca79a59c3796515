#include "sim/PortLayerSetup.h"

#include "hardware/SocketPortLayer.h"
#include "hardware/usbpro/UsbProPortLayer.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"

#include <QCommandLineParser>

namespace Sim {

namespace {
const QString kUsbPro = "--usbpro";
const QString kUsbProDevice = "--usbpro-device";
}  // namespace

PortLayerChoice PortLayerChoice::FromParser(const QCommandLineParser& parser) {
    return {parser.value("widget-dir"), parser.value("rig"), parser.isSet("demo"),
            parser.isSet("usbpro"), parser.value("usbpro-device")};
}

QString PortLayerChoice::Searched() const {
    if (demo) {
        return "the demonstration rig (--demo)";
    }
    if (!rigFile.isEmpty()) {
        return QStringLiteral("the rig %1 (--rig)").arg(rigFile);
    }
    if (!usbProDevice.isEmpty()) {
        return QStringLiteral("the USB Pro interface at %1 (--usbpro)").arg(usbProDevice);
    }
    if (usbPro) {
        return "USB Pro interfaces among the serial devices (--usbpro)";
    }
    const auto [path, origin] = Hardware::SocketPortLayer::ChooseWidgetDir(widgetDir);
    return QStringLiteral("socket widgets in %1 (%2)").arg(path, origin);
}

void AddPortLayerOptions(QCommandLineParser& parser) {
    QCommandLineOption device("usbpro-device", "The USB Pro interface at DEVICE.", "DEVICE");
    device.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({
        {"widget-dir", "Use the socket widgets served in DIR.", "DIR"},
        {"rig", "Run the virtual rig described in FILE.", "FILE"},
        {"demo", "Run the built-in demonstration rig."},
        {"usbpro",
         "Use the USB DMX interfaces (USB Pro protocol) found; --usbpro DEVICE uses the one "
         "at DEVICE."},
        device,
    });
}

QStringList SplitUsbProDevice(const QStringList& arguments) {
    QStringList split;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(kUsbPro + "=")) {
            split << kUsbPro << kUsbProDevice << argument.mid(kUsbPro.size() + 1);
        } else if (argument == kUsbPro && i + 1 < arguments.size() &&
                   !arguments[i + 1].startsWith('-') && arguments[i + 1].contains('/')) {
            split << kUsbPro << kUsbProDevice << arguments[++i];
        } else {
            split << argument;
        }
    }
    return split;
}

bool InstallPortLayer(const PortLayerChoice& choice, QString* error) {
    const bool usbPro = choice.usbPro || !choice.usbProDevice.isEmpty();
    const int chosen = int(!choice.widgetDir.isEmpty()) + int(!choice.rigFile.isEmpty()) +
                       int(choice.demo) + int(usbPro);
    if (chosen > 1) {
        *error = "choose one of --widget-dir, --rig, --demo and --usbpro";
        return false;
    }
    if (choice.demo || !choice.rigFile.isEmpty()) {
        std::optional<Rig> rig = choice.demo ? Rig::Demo() : Rig::Load(choice.rigFile, error);
        if (!rig) {
            return false;
        }
        auto layer = std::make_unique<SimulatedPortLayer>();
        rig->PlugInto(*layer);
        Hardware::PortLayer::Install(std::move(layer));
        return true;
    }
    if (usbPro) {
        Hardware::PortLayer::Install(
            choice.usbProDevice.isEmpty()
                ? std::make_unique<Hardware::UsbProPortLayer>()
                : std::make_unique<Hardware::UsbProPortLayer>(choice.usbProDevice));
        return true;
    }
    Hardware::PortLayer::Install(std::make_unique<Hardware::SocketPortLayer>(
        Hardware::SocketPortLayer::ResolveWidgetDir(choice.widgetDir)));
    return true;
}

}  // namespace Sim
