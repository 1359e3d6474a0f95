#include "system/keyring/KeychainKeyring.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QMutex>
#include <QPromise>
#include <QSemaphore>
#include <QThread>
#include <functional>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

struct JobResult {
    QKeychain::Error error = QKeychain::OtherError;
    QString text;
};

// The one thread on which keychain requests run, and an object living on it
// to post the requests to. Stopped when the application object goes; a
// thread that a request still holds then is left to the end of the process.
struct KeychainThread {
    QThread* thread = nullptr;
    QObject* anchor = nullptr;
};

QMutex startMutex;
KeychainThread running;

void stopKeychainThread()
{
    QMutexLocker lock(&startMutex);
    if (!running.thread)
        return;
    running.thread->quit();
    if (running.thread->wait(QDeadlineTimer(2000))) {
        delete running.anchor;
        delete running.thread;
    }
    running = {};
}

QObject* keychainAnchor()
{
    QMutexLocker lock(&startMutex);
    if (!running.thread) {
        running.thread = new QThread;
        running.thread->setObjectName(QStringLiteral("Keychain"));
        running.anchor = new QObject;
        running.anchor->moveToThread(running.thread);
        running.thread->start();
        qAddPostRoutine(stopKeychainThread);
    }
    return running.anchor;
}

// Starts the job that `makeJob` makes on the keychain thread; `finished`
// receives its result there.
void startJob(std::function<QKeychain::Job*()> makeJob, std::function<void(const JobResult&)> finished)
{
    QMetaObject::invokeMethod(keychainAnchor(), [makeJob = std::move(makeJob), finished = std::move(finished)] {
        QKeychain::Job* job = makeJob();
        QObject::connect(job, &QKeychain::Job::finished, job, [finished](QKeychain::Job* ended) {
            JobResult result;
            result.error = ended->error();
            if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(ended))
                result.text = read->textData();
            finished(result);
        });
        job->start(); // deletes itself once finished
    });
}

// Runs the job and waits for its end, at most `limit`; nothing when it has
// not ended by then.
std::optional<JobResult> runJob(std::function<QKeychain::Job*()> makeJob, std::chrono::milliseconds limit)
{
    auto result = std::make_shared<JobResult>();
    auto done = std::make_shared<QSemaphore>();
    startJob(std::move(makeJob), [result, done](const JobResult& ended) {
        *result = ended;
        done->release();
    });
    if (!done->tryAcquire(1, int(limit.count())))
        return std::nullopt;
    return *result;
}

std::function<QKeychain::Job*()> readJob(const QString& service, const QString& name)
{
    return [service, name] {
        auto* job = new QKeychain::ReadPasswordJob(service);
        job->setKey(name);
        return job;
    };
}

KeyringKeys::Answer answerOf(const std::optional<JobResult>& result)
{
    using Found = KeyringKeys::Found;
    if (!result)
        return {Found::NoAnswer, {}};
    switch (result->error) {
    case QKeychain::NoError:
        return {Found::Key, QByteArray::fromBase64(result->text.toLatin1())};
    case QKeychain::EntryNotFound:
        return {Found::NoKey, {}};
    // The Secret Service's unlock was refused or cancelled.
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        return {Found::Locked, {}};
    default:
        return {Found::NoAnswer, {}};
    }
}

} // namespace

KeychainKeyring::KeychainKeyring(QString service, std::chrono::milliseconds limit)
    : m_service(std::move(service)), m_limit(limit)
{}

KeyringKeys::Readiness KeychainKeyring::readiness()
{
    const QString service = QStringLiteral("org.freedesktop.secrets");
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Asked of the bus, which does not start a service that is not running.
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service).value())
        return Readiness::Absent;
    QDBusInterface properties(service, QStringLiteral("/org/freedesktop/secrets/aliases/default"),
                              QStringLiteral("org.freedesktop.DBus.Properties"), bus);
    properties.setTimeout(int(m_limit.count()));
    const QDBusReply<QDBusVariant> locked = properties.call(
        QStringLiteral("Get"), QStringLiteral("org.freedesktop.Secret.Collection"), QStringLiteral("Locked"));
    // No default collection yet: the first key makes one, which may ask for a password.
    if (!locked.isValid())
        return Readiness::Locked;
    return locked.value().variant().toBool() ? Readiness::Locked : Readiness::Unlocked;
}

KeyringKeys::Answer KeychainKeyring::read(const QString& name)
{
    return answerOf(runJob(readJob(m_service, name), m_limit));
}

QFuture<KeyringKeys::Answer> KeychainKeyring::readLater(const QString& name)
{
    auto promise = std::make_shared<QPromise<Answer>>();
    promise->start();
    startJob(readJob(m_service, name), [promise](const JobResult& result) {
        promise->addResult(answerOf(result));
        promise->finish();
    });
    return promise->future();
}

bool KeychainKeyring::write(const QString& name, const SecretBytes& key)
{
    // The keyring takes text: this copy, and those the library makes, are
    // beyond the reach of SecretBytes.
    QByteArray base64 = key.view().toByteArray().toBase64();
    const QString encoded = QString::fromLatin1(base64);
    SecretBytes::wipe(base64);
    const std::optional<JobResult> result = runJob(
        [service = m_service, name, text = encoded] {
            auto* job = new QKeychain::WritePasswordJob(service);
            job->setKey(name);
            job->setTextData(text);
            return job;
        },
        m_limit);
    return result && result->error == QKeychain::NoError;
}
