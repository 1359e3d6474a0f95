#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one failure type of the program. It carries a sentence written for the
// merchant, so whoever reports it can show it as it stands.
class QuilloError : public std::exception {
public:
    explicit QuilloError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
