#pragma once

#include "print/DraftJournal.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// A draft's number in the register.
using DraftId = qint64;

// What a print or export command records of the draft it sends: the draft
// as it went, where it went (the printer's name, or the PDF file's path), and
// the merchant's choice to send it without an authorization and why, kept as
// an event with it. Written once, never changed afterwards.
struct DraftRecord : SentDraft {
    QString destinationName;
    std::optional<QString> withoutAuthorization;
    // The earlier draft of the same check the merchant chose to print it again after.
    std::optional<DraftId> reprintOf;
};
