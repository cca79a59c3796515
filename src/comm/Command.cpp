#include "comm/Command.h"

#include "os/Clock.h"

namespace {
constexpr qint64 kFeedbackPauseMs = 100;
}

Command::Command(QObject* parent)
    : QObject(parent), m_id(QUuid::createUuid()), m_name(QStringLiteral("Unknown")) {}

void Command::Describe(const QString& text) {
    QMutexLocker lock(&m_descriptionMutex);
    m_description = text;
}

void Command::Begin() {
    QString description;
    {
        QMutexLocker lock(&m_descriptionMutex);
        description = m_description;
    }
    if (!description.isEmpty()) {
        AddString(description, FeedbackStatusNormal);
    }
}

void Command::AddString(QString text, FeedbackStatus status) {
    Q_EMIT IFeedback_AddString(text, status);
    if (m_feedback) {
        m_feedback->AddString(text, status);
    }
}

void Command::SetTotal(int total) {
    Q_EMIT IFeedback_SetTotal(total);
    if (m_feedback) {
        m_feedback->SetTotal(total);
    }
}

void Command::SetCurrent(int current) {
    Q_EMIT IFeedback_SetCurrent(current);
    if (m_feedback) {
        m_feedback->SetCurrent(current);
    }
}

void Command::SetProgressText(QString text) {
    Q_EMIT IFeedback_SetProgressText(text);
    if (m_feedback) {
        m_feedback->SetProgressText(text);
    }
}

void Command::Finished(FeedbackResult result) {
    Os::Clock::Instance().Wait(kFeedbackPauseMs);
    Q_EMIT IFeedback_Finished(result);
    if (m_feedback) {
        m_feedback->Finished(result);
    }
}

bool Command::IsCancelled() {
    Os::Clock::Instance().Wait(kFeedbackPauseMs);
    if (m_cancelRequested) {
        return true;
    }
    return m_feedback ? m_feedback->IsCancelled() : false;
}
