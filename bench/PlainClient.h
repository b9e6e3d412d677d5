#pragma once
// The plain client-library side of the benchmarks: the limit the program's own
// code is measured against, attached and started as the program does.
#include <ibase.h>

#include <stdexcept>
#include <string>

inline void check(const ISC_STATUS* status, const char* what) {
    if (status[0] == 1 && status[1] != 0) {
        char text[512];
        const ISC_STATUS* walk = status;
        fb_interpret(text, sizeof text, &walk);
        throw std::runtime_error(std::string(what) + ": " + text);
    }
}

// Sysdba's attach parameters, with the extra ones given.
inline std::string sysdbaParams(const std::string& extra = {}) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    auto add = [&dpb](char tag, const std::string& value) {
        dpb += tag;
        dpb += static_cast<char>(value.size());
        dpb += value;
    };
    add(isc_dpb_user_name, "SYSDBA");
    add(isc_dpb_password, "lanternix");
    return dpb + extra;
}

inline void attach(const std::string& connectString, const std::string& dpb, isc_db_handle& db) {
    ISC_STATUS_ARRAY status{};
    isc_attach_database(status, 0, connectString.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    check(status, "attach");
}

// Sysdba with WIN1252, then a read-committed, no-wait transaction.
inline void attachAndStart(const std::string& connectString, isc_db_handle& db, isc_tr_handle& tr) {
    attach(connectString, sysdbaParams(std::string{static_cast<char>(isc_dpb_lc_ctype), 7} + "WIN1252"), db);
    ISC_STATUS_ARRAY status{};
    const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    isc_start_transaction(status, &tr, 1, &db, static_cast<unsigned short>(sizeof tpb), tpb);
    check(status, "start");
}
