#pragma once

#include "register/ProofShelf.h"

class RegisterStore;

// The proof copies in the register's own database, for a register that
// seats share: every seat reads the copies any seat kept.
class StoreProofShelf : public ProofShelf {
public:
    explicit StoreProofShelf(RegisterStore& store);

    bool has(const QString& name) override;
    void put(const QString& name, const QByteArray& sealed) override;
    QByteArray read(const QString& name) override;
    void remove(const QString& name) override;

private:
    RegisterStore& m_store;
};
