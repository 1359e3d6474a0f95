#pragma once

#include "register/RegisterError.h"

// The office server refused the connection for its password: it asked for
// one and none was given, or the one given was wrong. The register's session
// then asks the merchant for it.
class ServerPasswordRefused : public RegisterError {
public:
    using RegisterError::RegisterError;
};
