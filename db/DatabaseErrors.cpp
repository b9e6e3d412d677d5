#include "db/DatabaseErrors.h"

#include "db/ClientLibrary.h"

namespace {

const char* messageTemplate(IBClientErrorCode code) {
    switch (code) {
    case IBClientErrorCode::LibraryMissing:
        return "InterBase library gds32.dll not found in the path. Please install InterBase to use this "
               "functionality";
    case IBClientErrorCode::RetainingFunctionMissing:
        return "%s is an InterBase 6 function. Please upgrade to InterBase 6 to use this functonality";
    case IBClientErrorCode::DpbConstantUnsupported:
        return "DPB Constant (isc_dpb_%s) is unsupported";
    case IBClientErrorCode::TpbConstantUnsupported:
        return "TPB Constant (isc_tpb_%s) is unsupported";
    case IBClientErrorCode::DatabaseClosed:
        return "Cannot perform operation -- DB is not open";
    case IBClientErrorCode::DatabaseOpen:
        return "Cannot perform operation -- DB is currently open";
    case IBClientErrorCode::DatabaseNameMissing:
        return "Database name is missing";
    case IBClientErrorCode::NotInTransaction:
        return "Transaction is not active";
    case IBClientErrorCode::InTransaction:
        return "Transaction is active";
    case IBClientErrorCode::TimeoutNegative:
        return "Timeout values cannot be negative";
    case IBClientErrorCode::NoDatabasesInTransaction:
        return "No databases are listed in transaction component";
    case IBClientErrorCode::UpdateWrongDatabase:
        return "Updating wrong database";
    case IBClientErrorCode::UpdateWrongTransaction:
        return "Updating wrong transaction. Unique transaction expected in set";
    case IBClientErrorCode::DatabaseNotAssigned:
        return "Database not assigned";
    case IBClientErrorCode::TransactionNotAssigned:
        return "Transaction not assigned";
    case IBClientErrorCode::SQLDialectInvalid:
        return "SQL Dialect Invalid";
    case IBClientErrorCode::DpbConstantUnknown:
        return "DPB Constant (%s) is unknown";
    case IBClientErrorCode::TpbConstantUnknown:
        return "TPB Constant (%s) is unknown";
    }
    return "";
}

} // namespace

std::string ClientErrorMessage(IBClientErrorCode code, const std::string& argument) {
    std::string message = messageTemplate(code);
    if (auto at = message.find("%s"); at != std::string::npos)
        message.replace(at, 2, argument);
    return message;
}

void RaiseClientError(IBClientErrorCode code, const std::string& argument) {
    throw EIBClientError(static_cast<int>(code), ClientErrorMessage(code, argument));
}

bool IsLostConnection(const std::exception& error) {
    if (const auto* layer = dynamic_cast<const EIBClientError*>(&error)) {
        const auto code = static_cast<IBClientErrorCode>(layer->SQLCode());
        return code == IBClientErrorCode::DatabaseClosed || code == IBClientErrorCode::NotInTransaction;
    }
    const auto* server = dynamic_cast<const EIBInterBaseError*>(&error);
    if (!server)
        return false;
    switch (server->IBErrorCode()) {
    case isc_network_error:
    case isc_net_connect_err:
    case isc_net_connect_listen_err:
    case isc_net_event_connect_err:
    case isc_net_event_listen_err:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_net_server_shutdown:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_shutdown:
    case isc_att_shutdown:
    case isc_bad_db_handle:
    case isc_bad_trans_handle:
        return true;
    default:
        return false;
    }
}
