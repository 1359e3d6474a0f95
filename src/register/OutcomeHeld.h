#pragma once

#include "register/RegisterError.h"

// The register could not take what became of a print, which this seat
// keeps (HeldOutcomes) and writes once the register takes it. The reason
// is why the register could not.
class OutcomeHeld : public RegisterError {
public:
    using RegisterError::RegisterError;
};
