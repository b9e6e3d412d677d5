#pragma once
// The client library's entry points, resolved at run time. Only db/*.cpp
// include this header: it is the one place that pulls in ibase.h.
#include "db/ClientHandle.h"

#include <ibase.h>

#include <memory>
#include <string>
#include <type_traits>

static_assert(std::is_same_v<FB_API_HANDLE, ClientHandle>,
              "ClientHandle must be the client library's handle type");

struct ClientLibrary {
    ClientLibrary() = default;
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;
    ~ClientLibrary();

    void* module = nullptr;

    decltype(&::isc_attach_database) attach_database = nullptr;
    decltype(&::isc_detach_database) detach_database = nullptr;
    decltype(&::isc_database_info) database_info = nullptr;

    decltype(&::isc_start_multiple) start_multiple = nullptr;
    decltype(&::isc_commit_transaction) commit_transaction = nullptr;
    decltype(&::isc_commit_retaining) commit_retaining = nullptr;
    decltype(&::isc_rollback_transaction) rollback_transaction = nullptr;
    // Absent from very old client libraries; RollbackRetaining reports that.
    decltype(&::isc_rollback_retaining) rollback_retaining = nullptr;

    // Not the "2" form: that one keeps the address of the caller's handle to
    // clear it at detach, and when a drop fails on a dead link it would write
    // there after the object holding the handle is gone.
    decltype(&::isc_dsql_allocate_statement) dsql_allocate_statement = nullptr;
    decltype(&::isc_dsql_prepare) dsql_prepare = nullptr;
    decltype(&::isc_dsql_describe) dsql_describe = nullptr;
    decltype(&::isc_dsql_describe_bind) dsql_describe_bind = nullptr;
    decltype(&::isc_dsql_sql_info) dsql_sql_info = nullptr;
    decltype(&::isc_dsql_execute) dsql_execute = nullptr;
    decltype(&::isc_dsql_execute2) dsql_execute2 = nullptr;
    decltype(&::isc_dsql_execute_immediate) dsql_execute_immediate = nullptr;
    decltype(&::isc_dsql_exec_immed2) dsql_exec_immed2 = nullptr;
    decltype(&::fb_cancel_operation) fb_cancel_operation = nullptr;
    decltype(&::isc_dsql_fetch) dsql_fetch = nullptr;
    decltype(&::isc_dsql_free_statement) dsql_free_statement = nullptr;

    decltype(&::isc_open_blob2) open_blob2 = nullptr;
    decltype(&::isc_create_blob2) create_blob2 = nullptr;
    decltype(&::isc_get_segment) get_segment = nullptr;
    decltype(&::isc_put_segment) put_segment = nullptr;
    decltype(&::isc_close_blob) close_blob = nullptr;
    decltype(&::isc_blob_info) blob_info = nullptr;

    decltype(&::isc_sqlcode) sqlcode = nullptr;
    // One of the two message calls is enough; the bounded one is preferred.
    decltype(&::fb_interpret) fb_interpret = nullptr;
    ISC_LONG (*interprete)(ISC_SCHAR*, ISC_STATUS**) = nullptr;

    decltype(&::isc_vax_integer) vax_integer = nullptr;
    decltype(&::isc_encode_sql_date) encode_sql_date = nullptr;
    decltype(&::isc_decode_sql_date) decode_sql_date = nullptr;
    decltype(&::isc_encode_sql_time) encode_sql_time = nullptr;
    decltype(&::isc_decode_sql_time) decode_sql_time = nullptr;
    decltype(&::isc_encode_timestamp) encode_timestamp = nullptr;
    decltype(&::isc_decode_timestamp) decode_timestamp = nullptr;
};

// Loads the library from the given file name (as dlopen searches it) and
// resolves every entry point. A file that cannot be loaded, or that lacks an
// entry point we need, raises the layer's error of code 1.
std::unique_ptr<ClientLibrary> LoadClientLibrary(const std::string& fileName);

// The process-wide library, loaded by the first call: "libfbclient.so.2", or the
// file named by CORVELO_FBCLIENT. A failed load is retried by the next call.
const ClientLibrary& Client();
