#pragma once

#include "print/DraftJournal.h"

#include <QString>

// The codes the register file keeps for where a draft went. They are part of
// the file: never rename one.
namespace RegisterCodes {

QString destination(SentDraft::Kind kind);
// A code that a later program wrote reads as a printer.
SentDraft::Kind destinationKind(const QString& code);

} // namespace RegisterCodes
