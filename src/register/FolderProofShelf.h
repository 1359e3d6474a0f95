#pragma once

#include "register/ProofShelf.h"

// The proof copies in a folder beside the register file, one file each,
// readable by the merchant alone.
class FolderProofShelf : public ProofShelf {
public:
    explicit FolderProofShelf(QString folder);

    bool has(const QString& name) override;
    void put(const QString& name, const QByteArray& sealed) override;
    QByteArray read(const QString& name) override;
    void remove(const QString& name) override;

private:
    QString pathOf(const QString& name) const;

    QString m_folder;
};
