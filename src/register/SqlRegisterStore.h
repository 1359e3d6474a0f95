#pragma once

#include "register/RegisterStore.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSqlError;
class SqlDialect;
class QSqlQuery;
class QSqlRecord;
class QVariant;

// The register in a database through Qt SQL, in plain SQL: what differs
// between engines comes from the dialect, and the schema is brought forward
// by RegisterSchema's migrations.
class SqlRegisterStore : public RegisterStore {
public:
    // Connects through `dialect`; a RegisterError says why it cannot.
    explicit SqlRegisterStore(std::unique_ptr<SqlDialect> dialect);
    ~SqlRegisterStore() override;
    SqlRegisterStore(const SqlRegisterStore&) = delete;
    SqlRegisterStore& operator=(const SqlRegisterStore&) = delete;

    std::optional<QByteArray> fact(const QString& name) override;
    void addFacts(const std::vector<std::pair<QString, QByteArray>>& facts) override;
    void together(const std::function<void()>& writes) override;
    void lockAccount(const QByteArray& accountKey) override;
    void watchOthers(Watcher watcher) override;
    qint64 addDraft(const StoredDraft& draft, const std::optional<StoredEvent>& firstEvent) override;
    void addEvent(const StoredEvent& event) override;
    std::optional<StoredDraft> draft(qint64 id) override;
    std::vector<StoredEvent> events(qint64 draftId) override;
    std::optional<StoredEvent> latestReturnOnAccount(const QByteArray& accountKey, const QStringList& reasons) override;
    std::vector<StoredDraft> drafts(qint64 beforeId, int count) override;
    std::vector<StoredDraft> draftsWithChequeKey(const QByteArray& chequeKey) override;
    std::vector<StoredDraft> draftsWithAccountKey(const QByteArray& accountKey, qint64 amountCents,
                                                  qint64 since) override;
    std::vector<UncertainPrint> uncertainPrints() override;
    void addAuthorization(const StoredAuthorization& authorization) override;
    std::optional<StoredAuthorization> authorization(qint64 draftId) override;
    std::optional<StoredAuthorization> latestAuthorizationForCheque(const QByteArray& chequeKey) override;
    std::optional<StoredAuthorization> latestAuthorizationForAccount(const QByteArray& accountKey) override;
    std::vector<StoredDraft> draftsWithAuthorization(const QString& authorizationId) override;
    std::vector<StoredDraft> draftsIdleSince(qint64 lastEventAt) override;
    std::vector<QString> removeDrafts(const std::vector<qint64>& ids) override;
    std::vector<StoredDraft> draftsWithClearPaths() override;
    std::vector<StoredEvent> eventsWithClearText() override;
    void sealPaths(const StoredDraft& draft) override;
    void sealText(const StoredEvent& event) override;
    bool keepsProofCopies() const override;
    void addProofCopy(const QString& name, const QByteArray& sealed) override;
    std::optional<QByteArray> proofCopy(const QString& name) override;
    void removeProofCopy(const QString& name) override;

private:
    int schemaVersion() const;
    void migrate();
    void runMigration(int version);

    [[noreturn]] void fail(const QSqlError& error) const;
    QSqlQuery prepare(const QString& sql) const;
    void exec(QSqlQuery& query) const;
    void execute(const QString& sql) const;
    void inTransaction(const std::function<void()>& writes);
    void insertEvent(const StoredEvent& event);
    // Tells the other seats, as the transaction commits, what was written.
    void announce(Written what, qint64 draftId);
    // Listens again on a connection made anew.
    void listen() const;
    std::vector<StoredDraft> rows(QSqlQuery& query) const;
    // The one mapping between a draft and its columns, by their names: what
    // is written, and what is read of the columns a query selected.
    static std::vector<std::pair<QString, QVariant>> columnsOf(const StoredDraft& draft);
    static StoredDraft draftFrom(const QSqlRecord& row);
    // The first authorization that `query` (of AuthorizationColumns) finds.
    std::optional<StoredAuthorization> firstAuthorization(QSqlQuery& query) const;
    // The newest authorization of the drafts that meet `condition`, whose one
    // placeholder takes `value`.
    std::optional<StoredAuthorization> latestAuthorizationWhere(const QString& condition, const QVariant& value);

    std::unique_ptr<SqlDialect> m_dialect;
    QString m_connection;
    bool m_inTransaction = false;
    Watcher m_watcher;
    // The notifications' receiver: they stop when the store goes.
    std::unique_ptr<QObject> m_listener;
    mutable bool m_damaged = false;
};
