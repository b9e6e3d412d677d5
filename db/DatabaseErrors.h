#pragma once
// The database layer's exceptions. Server errors carry the client library's
// texts; the layer's own checks carry fixed English texts and a code.
#include "util/Exceptions.h"

#include <string>

// Generic dataset and field errors, and the base of every error of the layer.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

class EIBError : public EDatabaseError {
public:
    EIBError(int sqlCode, long ibErrorCode, std::string message)
        : EDatabaseError(std::move(message)), sqlCode_(sqlCode), ibErrorCode_(ibErrorCode) {}
    int SQLCode() const noexcept { return sqlCode_; }
    long IBErrorCode() const noexcept { return ibErrorCode_; }

private:
    int sqlCode_;
    long ibErrorCode_;
};

// An error status returned by the client library.
class EIBInterBaseError : public EIBError {
public:
    using EIBError::EIBError;
};

// The same for SQLCODE -551 (no permission); still caught as a server error.
class EIBInterBaseRoleError : public EIBInterBaseError {
public:
    using EIBInterBaseError::EIBInterBaseError;
};

// A check made by the layer itself; SQLCode() is the layer's error code.
class EIBClientError : public EIBError {
public:
    EIBClientError(int code, std::string message) : EIBError(code, 0, std::move(message)) {}
};

enum class IBClientErrorCode : int {
    LibraryMissing = 1,
    RetainingFunctionMissing = 3,
    DpbConstantUnsupported = 11,
    TpbConstantUnsupported = 13,
    DatabaseClosed = 15,
    DatabaseOpen = 16,
    DatabaseNameMissing = 17,
    NotInTransaction = 18,
    InTransaction = 19,
    TimeoutNegative = 20,
    NoDatabasesInTransaction = 21,
    UpdateWrongDatabase = 22,
    UpdateWrongTransaction = 23,
    DatabaseNotAssigned = 24,
    TransactionNotAssigned = 25,
    SQLDialectInvalid = 87,
    DpbConstantUnknown = 114,
    TpbConstantUnknown = 115,
};

// The message of a layer error, with `argument` in place of its "%s".
std::string ClientErrorMessage(IBClientErrorCode code, const std::string& argument = {});

[[noreturn]] void RaiseClientError(IBClientErrorCode code, const std::string& argument = {});

// The link to the server broke (or the attachment or transaction it ran in is
// gone): the error says nothing about the statement that met it, and the same
// work may succeed once the connection is back.
bool IsLostConnection(const std::exception& error);
