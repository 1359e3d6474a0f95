#include "BenchKeyring.h"

#include "register/RegisterSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

QString folder()
{
    return QFileInfo(RegisterSession::defaultPath()).absolutePath() + "/bench-keyring/";
}

// A name as a file's: an office key's names the server's folder, slashes included.
QString fileOf(const QString& name)
{
    return folder() + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

KeyringKeys::Answer readFile(const QString& name)
{
    QFile file(fileOf(name));
    if (!file.open(QIODevice::ReadOnly))
        return {KeyringKeys::Found::NoKey, {}};
    return {KeyringKeys::Found::Key, file.readAll()};
}

} // namespace

KeyringKeys::Answer BenchKeyring::read(const QString& name)
{
    QThread::msleep(static_cast<unsigned long>(m_unlockAfter.count()));
    return readFile(name);
}

QFuture<KeyringKeys::Answer> BenchKeyring::readLater(const QString& name)
{
    auto promise = std::make_shared<QPromise<Answer>>();
    promise->start();
    QTimer::singleShot(m_unlockAfter, QCoreApplication::instance(), [promise, name] {
        promise->addResult(readFile(name));
        promise->finish();
    });
    return promise->future();
}

bool BenchKeyring::write(const QString& name, const SecretBytes& key)
{
    QDir().mkpath(folder());
    QFile file(fileOf(name));
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(key.data()), key.size()) == key.size();
}
