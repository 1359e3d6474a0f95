#pragma once

#include "register/DraftRecord.h"

#include <QString>
#include <vector>

// A print that ended Uncertain: the printer and the job to ask about.
struct UncertainPrint {
    DraftId draft = 0;
    QString printer;
    QString jobId;
};

// What settling Uncertain prints needs of the register: the jobs to look up,
// and a place for what the print service answered.
class UncertainPrints {
public:
    virtual ~UncertainPrints() = default;
    virtual std::vector<UncertainPrint> uncertainPrints() = 0;
    // Records the answer of a later look-up: `printed` when the service
    // reports the job pending, held, processing or completed, not when it
    // reports it canceled or aborted. `jobState` is the state it named. A
    // look-up without an answer records nothing.
    virtual void recordLookUp(const UncertainPrint& print, bool printed, const QString& jobState) = 0;
};
