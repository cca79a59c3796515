#include "DeviceSession.h"

#include "ProgressPrinter.h"

#include "comm/CommManager.h"
#include "comm/Command.h"
#include "hardware/HardwareLog.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "os/Clock.h"
#include "sim/PortLayerSetup.h"

#include <QCommandLineParser>
#include <QEventLoop>

#include <cstdio>

DeviceSession::DeviceSession() = default;

DeviceSession::~DeviceSession() {
    if (m_comm) {
        CommManager::Install(m_previous);
        m_comm.reset();
    }
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
    if (m_clock) {
        Os::Clock::Install(nullptr);
    }
}

void DeviceSession::AddOptions(QCommandLineParser& parser) {
    Sim::AddPortLayerOptions(parser);
    parser.addOption({{"v", "verbose"}, "Print the device link's log."});
    parser.addOption({"quiet", "Print no progress, only warnings and errors."});
}

bool DeviceSession::Open(const QCommandLineParser& parser, QString* error) {
    if (!parser.isSet("verbose") && qEnvironmentVariableIsEmpty("AUREL_LOG")) {
        Hardware::Log::Hardware().SetLevel(Os::Log::Level::Warning);
    }
    const Sim::PortLayerChoice choice = Sim::PortLayerChoice::FromParser(parser);
    if (!Sim::InstallPortLayer(choice, error)) {
        return false;
    }
    m_searched = choice.Searched();
    if (!choice.rigFile.isEmpty() || choice.demo) {
        m_clock = std::make_unique<Os::VirtualClock>();
        Os::Clock::Install(m_clock.get());
    }
    m_comm = std::make_unique<CommManager>();
    m_previous = CommManager::Install(m_comm.get());
    if (!parser.isSet("quiet")) {
        m_progress = std::make_unique<ProgressPrinter>(stderr, ProgressPrinter::IsTerminal(stderr));
    }
    return true;
}

QStringList DeviceSession::Run(Command* command, bool printLog) {
    auto errors = std::make_shared<QStringList>();
    ProgressPrinter* progress = m_progress.get();
    QObject::connect(
        command, &Command::IFeedback_AddString, command,
        [printLog, progress, errors](const QString& text, FeedbackStatus status) {
            const bool warning = status == FeedbackStatusWarning;
            if ((printLog || warning) && progress) {
                progress->EndLine();
            }
            if (printLog) {
                std::fprintf(stderr, "%s\n", qPrintable(text));
            } else if (warning) {
                std::fprintf(stderr, "%s\n", qPrintable(text.trimmed()));
            }
            if (status >= FeedbackStatusError) {
                errors->append(text.trimmed());
            }
        },
        Qt::DirectConnection);
    QEventLoop loop;
    const QUuid id = command->GetId();
    QObject::connect(m_comm.get(), &CommManager::CommandCompleted, &loop, [&](QUuid done) {
        if (done == id) {
            loop.quit();
        }
    });
    if (m_progress) {
        m_progress->Follow(command);
    }
    m_comm->QueueCommand(command);
    loop.exec();
    if (m_progress) {
        m_progress->EndLine();
    }
    if (!errors->isEmpty() && !m_comm->IsWidgetPresent()) {
        return {"no widget found; searched " + m_searched};
    }
    return *errors;  // the worker is done with the command: no more lines come
}

void DeviceSession::Settle(const std::function<void()>& start) {
    QEventLoop loop;
    int outstanding = 0;
    const QMetaObject::Connection queued = QObject::connect(
        m_comm.get(), &CommManager::CommandQueued, &loop,
        [&](QUuid id) {
            ++outstanding;
            if (Command* command = m_comm->FindCommand(id); command && m_progress) {
                m_progress->Follow(command);
            }
        },
        Qt::DirectConnection);
    const QMetaObject::Connection completed =
        QObject::connect(m_comm.get(), &CommManager::CommandCompleted, &loop, [&](QUuid) {
            if (--outstanding <= 0) {
                loop.quit();
            }
        });
    start();
    if (outstanding > 0) {
        loop.exec();
    }
    QObject::disconnect(queued);
    QObject::disconnect(completed);
    if (m_progress) {
        m_progress->EndLine();
    }
}
