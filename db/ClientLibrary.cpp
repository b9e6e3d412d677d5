#include "db/ClientLibrary.h"

#include "db/DatabaseErrors.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

namespace {

template <class Function> void resolve(void* module, const char* name, Function& slot, bool required) {
    slot = reinterpret_cast<Function>(dlsym(module, name));
    if (!slot && required)
        RaiseClientError(IBClientErrorCode::LibraryMissing);
}

void resolveAll(ClientLibrary& lib) {
    void* m = lib.module;
    resolve(m, "isc_attach_database", lib.attach_database, true);
    resolve(m, "isc_detach_database", lib.detach_database, true);
    resolve(m, "isc_database_info", lib.database_info, true);
    resolve(m, "isc_start_multiple", lib.start_multiple, true);
    resolve(m, "isc_commit_transaction", lib.commit_transaction, true);
    resolve(m, "isc_commit_retaining", lib.commit_retaining, true);
    resolve(m, "isc_rollback_transaction", lib.rollback_transaction, true);
    resolve(m, "isc_rollback_retaining", lib.rollback_retaining, false);
    resolve(m, "isc_dsql_allocate_statement", lib.dsql_allocate_statement, true);
    resolve(m, "isc_dsql_prepare", lib.dsql_prepare, true);
    resolve(m, "isc_dsql_describe", lib.dsql_describe, true);
    resolve(m, "isc_dsql_describe_bind", lib.dsql_describe_bind, true);
    resolve(m, "isc_dsql_sql_info", lib.dsql_sql_info, true);
    resolve(m, "isc_dsql_execute", lib.dsql_execute, true);
    resolve(m, "isc_dsql_execute2", lib.dsql_execute2, true);
    resolve(m, "isc_dsql_execute_immediate", lib.dsql_execute_immediate, true);
    resolve(m, "isc_dsql_exec_immed2", lib.dsql_exec_immed2, true);
    // Absent from old client libraries: long work then stops only between its steps.
    resolve(m, "fb_cancel_operation", lib.fb_cancel_operation, false);
    resolve(m, "isc_dsql_fetch", lib.dsql_fetch, true);
    resolve(m, "isc_dsql_free_statement", lib.dsql_free_statement, true);
    resolve(m, "isc_open_blob2", lib.open_blob2, true);
    resolve(m, "isc_create_blob2", lib.create_blob2, true);
    resolve(m, "isc_get_segment", lib.get_segment, true);
    resolve(m, "isc_put_segment", lib.put_segment, true);
    resolve(m, "isc_close_blob", lib.close_blob, true);
    resolve(m, "isc_blob_info", lib.blob_info, true);
    resolve(m, "isc_sqlcode", lib.sqlcode, true);
    resolve(m, "fb_interpret", lib.fb_interpret, false);
    resolve(m, "isc_interprete", lib.interprete, false);
    if (!lib.fb_interpret && !lib.interprete)
        RaiseClientError(IBClientErrorCode::LibraryMissing);
    resolve(m, "isc_vax_integer", lib.vax_integer, true);
    resolve(m, "isc_encode_sql_date", lib.encode_sql_date, true);
    resolve(m, "isc_decode_sql_date", lib.decode_sql_date, true);
    resolve(m, "isc_encode_sql_time", lib.encode_sql_time, true);
    resolve(m, "isc_decode_sql_time", lib.decode_sql_time, true);
    resolve(m, "isc_encode_timestamp", lib.encode_timestamp, true);
    resolve(m, "isc_decode_timestamp", lib.decode_timestamp, true);
}

std::string libraryFileName() {
    const char* overridden = std::getenv("CORVELO_FBCLIENT");
    return overridden && *overridden ? overridden : "libfbclient.so.2";
}

} // namespace

ClientLibrary::~ClientLibrary() {
    if (module)
        dlclose(module);
}

std::unique_ptr<ClientLibrary> LoadClientLibrary(const std::string& fileName) {
    auto lib = std::make_unique<ClientLibrary>();
    lib->module = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib->module)
        RaiseClientError(IBClientErrorCode::LibraryMissing);
    resolveAll(*lib);
    return lib;
}

const ClientLibrary& Client() {
    // Never unloaded: the library's own threads and exit handlers outlive us.
    static std::mutex mutex;
    static const ClientLibrary* loaded = nullptr;
    std::lock_guard lock(mutex);
    if (!loaded)
        loaded = LoadClientLibrary(libraryFileName()).release();
    return *loaded;
}
