#include "register/RegisterCodes.h"

QString RegisterCodes::destination(SentDraft::Kind kind)
{
    switch (kind) {
    case SentDraft::Kind::PreviewPrint:
        return QStringLiteral("preview");
    case SentDraft::Kind::PdfFile:
        return QStringLiteral("pdf");
    case SentDraft::Kind::QuickPrint:
        break;
    }
    return QStringLiteral("printer");
}

SentDraft::Kind RegisterCodes::destinationKind(const QString& code)
{
    if (code == QLatin1String("preview"))
        return SentDraft::Kind::PreviewPrint;
    if (code == QLatin1String("pdf"))
        return SentDraft::Kind::PdfFile;
    return SentDraft::Kind::QuickPrint;
}
