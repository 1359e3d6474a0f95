#include "register/RegisterSchema.h"

#include "register/RegisterColumns.h"
#include "register/SqlDialect.h"

namespace {

QString draftsTable(const SqlDialect& sql)
{
    const QString bytes = sql.binaryType();
    QStringList columns = {
        QStringLiteral("id ") + sql.generatedId(),
        QStringLiteral("uid CHAR(32) NOT NULL UNIQUE"),
        QStringLiteral("recorded_at BIGINT NOT NULL"),
    };
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes)
        columns.append(QString::fromLatin1(box.column) +
                       (box.sealed ? QStringLiteral(" %1 NOT NULL").arg(bytes) : QStringLiteral(" TEXT NOT NULL")));
    columns += {
        QStringLiteral("account_last4 VARCHAR(4) NOT NULL"),
        QStringLiteral("account_key ") + bytes,
        QStringLiteral("cheque_key ") + bytes,
        QStringLiteral("amount_cents BIGINT"),
        QStringLiteral("bank_line VARCHAR(16) NOT NULL"),
        QStringLiteral("offset_right INTEGER NOT NULL"),
        QStringLiteral("offset_down INTEGER NOT NULL"),
        QStringLiteral("destination_kind VARCHAR(16) NOT NULL"),
        QStringLiteral("destination TEXT NOT NULL"),
        QStringLiteral("source_file TEXT NOT NULL"),
    };
    return QStringLiteral("CREATE TABLE drafts (%1)").arg(columns.join(QStringLiteral(", ")));
}

} // namespace

int RegisterSchema::currentVersion()
{
    return 6;
}

QStringList RegisterSchema::migration(int version, const SqlDialect& sql)
{
    const QString bytes = sql.binaryType();
    switch (version) {
    case 1:
        return {
            QStringLiteral("CREATE TABLE register_facts (name VARCHAR(40) NOT NULL PRIMARY KEY, value %1 NOT NULL)")
                .arg(bytes),
            draftsTable(sql),
            QStringLiteral("CREATE INDEX drafts_by_cheque ON drafts (cheque_key)"),
            QStringLiteral("CREATE INDEX drafts_by_account ON drafts (account_key, recorded_at)"),
            QStringLiteral("CREATE INDEX drafts_by_time ON drafts (recorded_at)"),
            QStringLiteral("CREATE TABLE draft_events (id %1, "
                           "draft_id INTEGER NOT NULL REFERENCES drafts (id), recorded_at BIGINT NOT NULL, "
                           "kind VARCHAR(24) NOT NULL, sets_status SMALLINT NOT NULL, job_id VARCHAR(64) NOT NULL, "
                           "detail TEXT NOT NULL)")
                .arg(sql.generatedId()),
            QStringLiteral("CREATE INDEX draft_events_by_draft ON draft_events (draft_id, sets_status, id)"),
            QStringLiteral("CREATE INDEX draft_events_by_kind ON draft_events (kind)"),
        };
    case 2:
        // The customer's authorization of each draft, written with it.
        return {
            QStringLiteral("CREATE TABLE draft_authorizations (draft_id INTEGER NOT NULL "
                           "REFERENCES drafts (id), authorization_id CHAR(32) NOT NULL, "
                           "authorized_at BIGINT NOT NULL, authorized_by %1 NOT NULL, phone %1 NOT NULL, "
                           "given VARCHAR(24) NOT NULL, sale VARCHAR(24) NOT NULL, amount TEXT NOT NULL, "
                           "payee TEXT NOT NULL, drafts_authorized INTEGER NOT NULL, proof_name %1, "
                           "proof_sha256 %1, proof_copy VARCHAR(80), PRIMARY KEY (draft_id))")
                .arg(bytes),
            QStringLiteral("CREATE INDEX draft_authorizations_by_id ON draft_authorizations (authorization_id)"),
            QStringLiteral("CREATE INDEX draft_authorizations_by_copy ON draft_authorizations (proof_copy)"),
        };
    case 3:
        // The version, which the engine kept before.
        return {QStringLiteral("CREATE TABLE %1 (version INTEGER NOT NULL)").arg(VersionTable)};
    case 4:
        // A draft's life with the bank: the day each change happened, a
        // return's reason, and withdrawals that take a change back.
        return {
            QStringLiteral("ALTER TABLE draft_events ADD COLUMN effective_date VARCHAR(10)"),
            QStringLiteral("ALTER TABLE draft_events ADD COLUMN reason VARCHAR(32)"),
            QStringLiteral("ALTER TABLE draft_events ADD COLUMN withdraws BIGINT"),
            QStringLiteral("CREATE INDEX draft_events_by_withdrawn ON draft_events (withdraws)"),
            // A draft printed again after the duplicate question names the earlier one.
            QStringLiteral("ALTER TABLE drafts ADD COLUMN reprint_of BIGINT"),
        };
    case 5:
        // The source file's and an export's paths and the events' words,
        // sealed from now on; earlier drafts keep theirs in clear in the
        // columns of before.
        return {
            QStringLiteral("ALTER TABLE drafts ADD COLUMN sealed_source_file %1").arg(bytes),
            QStringLiteral("ALTER TABLE drafts ADD COLUMN sealed_destination %1").arg(bytes),
            QStringLiteral("ALTER TABLE draft_events ADD COLUMN sealed_detail %1").arg(bytes),
        };
    case 6:
        // Which seat wrote each draft and event: "ann@desk-2". The sealed
        // copies of proof files, for a register that seats share.
        return {
            QStringLiteral("ALTER TABLE drafts ADD COLUMN seat VARCHAR(255)"),
            QStringLiteral("ALTER TABLE draft_events ADD COLUMN seat VARCHAR(255)"),
            QStringLiteral("CREATE TABLE proof_copies (name VARCHAR(80) NOT NULL PRIMARY KEY, sealed %1 NOT NULL)")
                .arg(bytes),
        };
    default:
        return {};
    }
}
