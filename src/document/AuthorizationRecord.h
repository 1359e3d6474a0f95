#pragma once

#include "document/CheckRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The merchant's proof that the account holder authorized a draft, for that
// amount and that payee: who gave the authorization, when and how, how the
// sale behind it was made, and a proof file (a signed form, a call recording)
// known by its SHA-256.
struct AuthorizationRecord {
    enum class Given {
        SignedForm,          // a signed authorization on file
        RecordedCall,        // a recorded phone call
        WrittenConfirmation, // a written confirmation sent
        Other,
    };
    enum class Sale {
        CustomerCalled,      // the customer called, not in answer to the merchant's advertising
        OurSalesCall,        // a sales call the merchant made
        AnsweredAdvertising, // the customer answered the merchant's advertising by phone
        Online,
        InPerson,
        BusinessToBusiness,
        ExistingAccount, // payment of an existing account
    };

    // Shared by the drafts printed under one authorization, so that they can
    // be counted against its number of drafts; a changed record is another
    // authorization and takes a new one.
    QString id;
    QString authorizedBy;
    QString phone;
    QDateTime authorizedAt; // UTC
    Given given = Given::SignedForm;
    Sale sale = Sale::CustomerCalled;
    QString amount;
    QString payee;
    int drafts = 1;
    // The proof file: the path it was chosen from (only its name once it is
    // kept in the register) and the SHA-256 of its bytes; both empty without one.
    QString proofFile;
    QByteArray proofSha256;

    bool operator==(const AuthorizationRecord&) const = default;

    bool hasProof() const { return !proofSha256.isEmpty(); }
    // A sale by telephone that federal rules count as telemarketing: a sales
    // call, or a call in answer to advertising. (A sale between businesses
    // is chosen as such.)
    bool isTelemarketing() const { return sale == Sale::OurSalesCall || sale == Sale::AnsweredAdvertising; }

    // A new record for the draft `texts` as the merchant first sees it: the
    // payor's first line, the draft's amount and payee, authorized `now`, for
    // one draft.
    static AuthorizationRecord forDraft(const CheckTexts& texts, const QDateTime& now);
    // A new random id.
    static QString newId();
};
