#include "register/RegisterError.h"

RegisterError::RegisterError(const QString& reason)
    : QuilloError(QStringLiteral("The draft register cannot be used: %1.").arg(reason)), m_reason(reason)
{}
