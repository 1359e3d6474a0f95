#include "register/StoreProofShelf.h"

#include "register/RegisterError.h"
#include "register/RegisterStore.h"

StoreProofShelf::StoreProofShelf(RegisterStore& store) : m_store(store) {}

bool StoreProofShelf::has(const QString& name)
{
    return m_store.proofCopy(name).has_value();
}

void StoreProofShelf::put(const QString& name, const QByteArray& sealed)
{
    m_store.addProofCopy(name, sealed);
}

QByteArray StoreProofShelf::read(const QString& name)
{
    std::optional<QByteArray> sealed = m_store.proofCopy(name);
    if (!sealed)
        throw RegisterError(QStringLiteral("the copy of the proof file %1 is missing from it").arg(name));
    return *std::move(sealed);
}

void StoreProofShelf::remove(const QString& name)
{
    m_store.removeProofCopy(name);
}
