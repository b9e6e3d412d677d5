#include "tests/support/UncommittedWork.h"

#include <ibase.h>

#include <stdexcept>

namespace {

void check(const ISC_STATUS* status, const std::string& what) {
    if (status[0] == 1 && status[1] != 0) {
        std::string text = what + ":";
        char buffer[1024];
        const ISC_STATUS* vector = status;
        while (fb_interpret(buffer, sizeof buffer, &vector))
            text += std::string(" ") + buffer;
        throw std::runtime_error(text);
    }
}

} // namespace

UncommittedWork::UncommittedWork(const std::string& connectString) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    auto add = [&dpb](char tag, const std::string& value) {
        dpb += tag;
        dpb += static_cast<char>(value.size());
        dpb += value;
    };
    add(isc_dpb_user_name, "SYSDBA");
    add(isc_dpb_password, "lanternix");
    add(isc_dpb_lc_ctype, "WIN1252");
    ISC_STATUS_ARRAY status{};
    isc_attach_database(status, 0, connectString.c_str(), &db_, static_cast<short>(dpb.size()), dpb.data());
    check(status, "attaching the second connection");
    static char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                         isc_tpb_nowait};
    isc_start_transaction(status, &tr_, 1, &db_, static_cast<unsigned short>(sizeof tpb), tpb);
    check(status, "starting the second connection's transaction");
}

UncommittedWork::~UncommittedWork() {
    ISC_STATUS_ARRAY status{};
    rollback();
    if (db_)
        isc_detach_database(status, &db_);
}

void UncommittedWork::exec(const std::string& sql) {
    ISC_STATUS_ARRAY status{};
    isc_dsql_execute_immediate(status, &db_, &tr_, 0, sql.c_str(), SQL_DIALECT_V6, nullptr);
    check(status, "running '" + sql + "' on the second connection");
}

void UncommittedWork::rollback() {
    ISC_STATUS_ARRAY status{};
    if (tr_)
        isc_rollback_transaction(status, &tr_);
    tr_ = 0;
}
