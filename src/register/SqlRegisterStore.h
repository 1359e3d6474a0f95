#pragma once

#include "register/RegisterStore.h"

#include <QString>
#include <functional>

class QSqlError;
class QSqlQuery;
class QSqlRecord;
class QVariant;

// The register in an SQLite file through Qt SQL: write-ahead log, every
// commit flushed to disk, a busy timeout so that two running programs share
// the file, and the schema brought forward by RegisterSchema's migrations.
// A file that is damaged, or of a later version, is left exactly as it is.
class SqlRegisterStore : public RegisterStore {
public:
    enum class Check {
        Pages,     // an existing file's pages are checked first
        DoneBefore // checked a moment ago, by another store of the same file
    };

    // Opens the file at `path`, creating it and its folder when missing; a
    // RegisterError says why it cannot.
    explicit SqlRegisterStore(const QString& path, Check check = Check::Pages);
    ~SqlRegisterStore() override;
    SqlRegisterStore(const SqlRegisterStore&) = delete;
    SqlRegisterStore& operator=(const SqlRegisterStore&) = delete;

    const QString& path() const { return m_path; }

    std::optional<QByteArray> fact(const QString& name) override;
    void addFacts(const std::vector<std::pair<QString, QByteArray>>& facts) override;
    void together(const std::function<void()>& writes) override;
    qint64 addDraft(const StoredDraft& draft, const std::optional<StoredEvent>& firstEvent) override;
    void addEvent(const StoredEvent& event) override;
    std::optional<StoredDraft> draft(qint64 id) override;
    std::vector<StoredEvent> events(qint64 draftId) override;
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

private:
    // Reads the version of an existing file and checks it page by page, on a
    // read-only connection that cannot change it.
    void inspectExisting();
    void openForWriting();
    void migrate();
    void runMigration(int version);

    [[noreturn]] void fail(const QSqlError& error) const;
    QSqlQuery prepare(const QString& sql) const;
    void exec(QSqlQuery& query) const;
    void execute(const QString& sql) const;
    void inTransaction(const std::function<void()>& writes);
    void insertEvent(const StoredEvent& event);
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

    QString m_path;
    QString m_connection;
    bool m_inTransaction = false;
};
