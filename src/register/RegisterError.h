#pragma once

#include "platform/QuilloError.h"

// The draft register cannot be opened, read or written. The reason is a
// clause for the merchant that fits after "The draft register cannot be
// written: " (no capital letter, no full stop); it names the register's file
// where the file is at fault.
class RegisterError : public QuilloError {
public:
    explicit RegisterError(const QString& reason);

    const QString& reason() const noexcept { return m_reason; }

private:
    QString m_reason;
};
