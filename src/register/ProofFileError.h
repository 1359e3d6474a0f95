#pragma once

#include "register/RegisterError.h"

// A draft's proof file could not be kept because it is no longer the file
// chosen (changed, gone or unreadable): the authorization's problem, which
// the merchant settles by choosing it again, not the register's.
class ProofFileError : public RegisterError {
public:
    ProofFileError(const QString& reason, QString problem) : RegisterError(reason), m_problem(std::move(problem)) {}

    // The authorization's sentence for it (ProofFileCheck's).
    const QString& problem() const noexcept { return m_problem; }

private:
    QString m_problem;
};
