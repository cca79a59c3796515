#pragma once

#include <QString>

#include <exception>

namespace zub {

// The foundation's own exception family: carries a readable text.
class Exception : public std::exception {
public:
    explicit Exception(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

    const QString& Text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

}  // namespace zub
