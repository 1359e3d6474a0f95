#include "register/ClaimPackage.h"

#include "platform/DurableFile.h"
#include "platform/FolderFiles.h"
#include "print/PageBuilder.h"
#include "print/PdfExport.h"
#include "print/Printing.h"
#include "print/TextPage.h"
#include "register/BankNumbers.h"
#include "register/DraftProof.h"
#include "register/DraftRegister.h"
#include "register/RegisterTexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

const QString CheckName = QStringLiteral("check.pdf");
const QString AuthorizationName = QStringLiteral("authorization.pdf");
const QString LettersName = QStringLiteral("letters.txt");
const QString HistoryName = QStringLiteral("history.txt");
const QString ManifestName = QStringLiteral("manifest.txt");

QString utcText(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"));
}

// "check 1042 to "Harbor Tools" for $75.00", as the register window names a draft.
QString described(const DraftDetails& draft)
{
    const CheckTexts& texts = draft.record.texts;
    const QString number = texts[Box::CheckNumber].trimmed();
    QString text = number.isEmpty() ? QStringLiteral("the draft") : QStringLiteral("check %1").arg(number);
    if (!texts[Box::Payee].trimmed().isEmpty())
        text += QStringLiteral(" to \"%1\"").arg(texts[Box::Payee].trimmed());
    if (!texts[Box::AmountInFigures].trimmed().isEmpty())
        text += QStringLiteral(" for %1").arg(texts[Box::AmountInFigures].trimmed());
    return text;
}

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// Where the draft went: the printer, or the file it was exported to.
QString sentText(const DraftDetails& draft)
{
    return draft.record.kind == SentDraft::Kind::PdfFile
               ? QStringLiteral("exported to \"%1\"").arg(draft.record.destinationName)
               : QStringLiteral("sent to the printer \"%1\"").arg(draft.record.destinationName);
}

QByteArray textFile(const QStringList& lines)
{
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// A line of the history as the register window shows it, with the moment in UTC.
QString historyLine(const RecordedEvent& event, const std::vector<RecordedEvent>& history)
{
    // Every line names the seat that wrote it, for whoever reads the package.
    return RegisterTexts::historyLine(event, history, QString()) + QStringLiteral(" [%1]").arg(utcText(event.time));
}

QByteArray historyFile(const DraftDetails& draft)
{
    QStringList lines{QStringLiteral("History of %1 (times local; in brackets, UTC)").arg(described(draft)), QString(),
                      QStringLiteral("%1  Recorded, %2 [%3]")
                          .arg(RegisterTexts::dateTimeText(draft.recorded), sentText(draft), utcText(draft.recorded))};
    if (draft.record.reprintOf)
        lines.append(QStringLiteral("%1  Reprint of the draft printed %2, after the duplicate question [%3]")
                         .arg(RegisterTexts::dateTimeText(draft.recorded),
                              RegisterTexts::dateTimeText(draft.reprintOfRecorded), utcText(draft.recorded)));
    for (const RecordedEvent& event : draft.history)
        lines.append(historyLine(event, draft.history));
    return textFile(lines);
}

QByteArray lettersFile(const DraftDetails& draft)
{
    QStringList lines{
        QStringLiteral("Confirmation letters sent for %1 (times local; in brackets, UTC)").arg(described(draft)),
        QString()};
    int sent = 0;
    for (const RecordedEvent& event : draft.history) {
        if (event.event.kind != DraftEventKind::LetterSent)
            continue;
        lines.append(historyLine(event, draft.history));
        ++sent;
    }
    if (sent == 0)
        lines.append(QStringLiteral("No confirmation letter was sent."));
    return textFile(lines);
}

// The proof file's name in the package: its own, unless a file of the package has it.
QString proofName(const AuthorizationRecord& authorization)
{
    const QString own = QFileInfo(authorization.proofFile).fileName();
    for (const QString& taken : {CheckName, AuthorizationName, LettersName, HistoryName, ManifestName}) {
        if (own.isEmpty() || own.compare(taken, Qt::CaseInsensitive) == 0)
            return QStringLiteral("proof-") + own;
    }
    return own;
}

QString hiddenBeside(const QString& folder)
{
    const QFileInfo target(folder);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() +
           QStringLiteral(".partial-%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
}

} // namespace

ClaimPackage::ClaimPackage(DraftRegister& drafts, FolderFiles& files, PrintedCaptions captions, QPageLayout paper)
    : m_drafts(drafts), m_files(files), m_captions(std::move(captions)), m_paper(std::move(paper))
{}

QString ClaimPackage::suggestedName(const DraftDetails& draft)
{
    const QString number = draft.record.texts[Box::CheckNumber].trimmed();
    return number.isEmpty() ? QStringLiteral("Claim package") : QStringLiteral("Claim package, check ") + number;
}

QByteArray ClaimPackage::checkPdf(const DraftDetails& draft) const
{
    // The page every print command composes, from the values the draft was printed with.
    const Printing::Composed composed =
        Printing::compose(m_paper, QuickPrint::page(draft.record.texts, m_captions, draft.record.setup));
    return composed.page.toPdf(PdfExport::documentTitle(draft.record.texts[Box::CheckNumber]));
}

QByteArray ClaimPackage::authorizationPdf(const DraftDetails& draft) const
{
    const CheckTexts& texts = draft.record.texts;
    const QString number = texts[Box::CheckNumber].trimmed();
    const QString heading = number.isEmpty() ? QStringLiteral("Authorization of the draft")
                                             : QStringLiteral("Authorization of check ") + number;
    QStringList paragraphs{QStringLiteral("%1, drawn on the account ending in %2 at %3, dated %4; recorded %5 and %6.")
                               .arg(capitalized(described(draft)), BankNumbers::lastFour(texts[Box::AccountNumber]),
                                    texts[Box::BankLine1].trimmed(), texts[Box::CheckDate].trimmed(),
                                    RegisterTexts::dateTimeText(draft.recorded), sentText(draft)),
                           QString()};
    if (const std::optional<AuthorizationRecord>& record = draft.record.authorization) {
        paragraphs << QStringLiteral("Authorized by: %1").arg(record->authorizedBy)
                   << QStringLiteral("Phone: %1").arg(record->phone)
                   << QStringLiteral("Authorized on: %1 (%2)")
                          .arg(RegisterTexts::dateTimeText(record->authorizedAt), utcText(record->authorizedAt))
                   << QStringLiteral("How it was given: %1").arg(RegisterTexts::givenName(record->given))
                   << QStringLiteral("Sale: %1").arg(RegisterTexts::saleName(record->sale))
                   << QStringLiteral("Amount authorized: %1").arg(record->amount)
                   << QStringLiteral("Payee authorized: %1").arg(record->payee)
                   << QStringLiteral("Drafts authorized: %1").arg(record->drafts)
                   << QStringLiteral("Authorization record: %1").arg(record->id);
        if (record->hasProof())
            paragraphs << QStringLiteral("Proof file: %1, in this package").arg(proofName(*record))
                       << QStringLiteral("SHA-256 of the proof file: %1")
                              .arg(QString::fromLatin1(record->proofSha256.toHex()));
        else
            paragraphs << QStringLiteral("Proof file: none");
    } else {
        paragraphs << QStringLiteral("The draft was sent without an authorization record.");
        for (const RecordedEvent& event : draft.history) {
            if (event.event.kind == DraftEventKind::NoAuthorization)
                paragraphs << QStringLiteral("Why: %1").arg(event.event.text);
        }
    }
    PageBuilder builder(m_paper);
    TextPage::compose(builder, heading, paragraphs);
    return builder.page().toPdf(heading);
}

std::vector<ClaimPackage::File> ClaimPackage::files(const DraftDetails& draft)
{
    std::vector<File> files{{CheckName, checkPdf(draft)},
                            {AuthorizationName, authorizationPdf(draft)},
                            {LettersName, lettersFile(draft)},
                            {HistoryName, historyFile(draft)}};
    if (!DraftProof::missing(draft))
        files.push_back({proofName(*draft.record.authorization), DraftProof::opened(m_drafts, draft)});
    QByteArray manifest;
    for (const File& file : files)
        manifest +=
            QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256).toHex() + "  " + file.name.toUtf8() + '\n';
    files.push_back({ManifestName, manifest});
    return files;
}

int ClaimPackage::write(const DraftDetails& draft, const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    if (m_files.exists(folder))
        throw QuilloError(
            QStringLiteral("The claim package was not written: \"%1\" exists already. Choose a name for a new folder.")
                .arg(shown));
    const std::vector<File> package = files(draft);
    const QString hidden = hiddenBeside(folder);
    try {
        m_files.makeFolder(hidden);
        for (const File& file : package)
            m_files.write(hidden + QLatin1Char('/') + file.name, file.bytes);
        m_files.rename(hidden, folder);
    } catch (const FileFailure& failure) {
        m_files.remove(hidden);
        throw QuilloError(
            QStringLiteral("The claim package could not be written to \"%1\". %2").arg(shown, failure.message()));
    } catch (...) {
        m_files.remove(hidden);
        throw;
    }
    m_drafts.append(draft.id, DraftEvent::claimPackage(shown));
    return int(package.size());
}
