#include "db/ParameterBuffers.h"

#include "db/DatabaseErrors.h"
#include "util/NumberText.h"

#include <ibase.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

struct NamedCode {
    std::string_view name;
    int code;
};

// The client API's attach parameters 1 to 67, in its numbering.
constexpr NamedCode kAttachNames[] = {
    {"cdd_pathname", isc_dpb_cdd_pathname},
    {"allocation", isc_dpb_allocation},
    {"journal", isc_dpb_journal},
    {"page_size", isc_dpb_page_size},
    {"num_buffers", isc_dpb_num_buffers},
    {"buffer_length", isc_dpb_buffer_length},
    {"debug", isc_dpb_debug},
    {"garbage_collect", isc_dpb_garbage_collect},
    {"verify", isc_dpb_verify},
    {"sweep", isc_dpb_sweep},
    {"enable_journal", isc_dpb_enable_journal},
    {"disable_journal", isc_dpb_disable_journal},
    {"dbkey_scope", isc_dpb_dbkey_scope},
    {"number_of_users", isc_dpb_number_of_users},
    {"trace", isc_dpb_trace},
    {"no_garbage_collect", isc_dpb_no_garbage_collect},
    {"damaged", isc_dpb_damaged},
    {"license", isc_dpb_license},
    {"sys_user_name", isc_dpb_sys_user_name},
    {"encrypt_key", isc_dpb_encrypt_key},
    {"activate_shadow", isc_dpb_activate_shadow},
    {"sweep_interval", isc_dpb_sweep_interval},
    {"delete_shadow", isc_dpb_delete_shadow},
    {"force_write", isc_dpb_force_write},
    {"begin_log", isc_dpb_begin_log},
    {"quit_log", isc_dpb_quit_log},
    {"no_reserve", isc_dpb_no_reserve},
    {"user_name", isc_dpb_user_name},
    {"password", isc_dpb_password},
    {"password_enc", isc_dpb_password_enc},
    {"sys_user_name_enc", isc_dpb_sys_user_name_enc},
    {"interp", isc_dpb_interp},
    {"online_dump", isc_dpb_online_dump},
    {"old_file_size", isc_dpb_old_file_size},
    {"old_num_files", isc_dpb_old_num_files},
    {"old_file", isc_dpb_old_file},
    {"old_start_page", isc_dpb_old_start_page},
    {"old_start_seqno", isc_dpb_old_start_seqno},
    {"old_start_file", isc_dpb_old_start_file},
    {"drop_walfile", isc_dpb_drop_walfile},
    {"old_dump_id", isc_dpb_old_dump_id},
    {"wal_backup_dir", isc_dpb_wal_backup_dir},
    {"wal_chkptlen", isc_dpb_wal_chkptlen},
    {"wal_numbufs", isc_dpb_wal_numbufs},
    {"wal_bufsize", isc_dpb_wal_bufsize},
    {"wal_grp_cmt_wait", isc_dpb_wal_grp_cmt_wait},
    {"lc_messages", isc_dpb_lc_messages},
    {"lc_ctype", isc_dpb_lc_ctype},
    {"cache_manager", isc_dpb_cache_manager},
    {"shutdown", isc_dpb_shutdown},
    {"online", isc_dpb_online},
    {"shutdown_delay", isc_dpb_shutdown_delay},
    {"reserved", isc_dpb_reserved},
    {"overwrite", isc_dpb_overwrite},
    {"sec_attach", isc_dpb_sec_attach},
    {"disable_wal", isc_dpb_disable_wal},
    {"connect_timeout", isc_dpb_connect_timeout},
    {"dummy_packet_interval", isc_dpb_dummy_packet_interval},
    {"gbak_attach", isc_dpb_gbak_attach},
    {"sql_role_name", isc_dpb_sql_role_name},
    {"set_page_buffers", isc_dpb_set_page_buffers},
    {"working_directory", isc_dpb_working_directory},
    {"sql_dialect", isc_dpb_sql_dialect},
    {"set_db_readonly", isc_dpb_set_db_readonly},
    {"set_db_sql_dialect", isc_dpb_set_db_sql_dialect},
    {"gfix_attach", isc_dpb_gfix_attach},
    {"gstat_attach", isc_dpb_gstat_attach},
};

constexpr NamedCode kTransactionNames[] = {
    {"consistency", isc_tpb_consistency},
    {"concurrency", isc_tpb_concurrency},
    {"shared", isc_tpb_shared},
    {"protected", isc_tpb_protected},
    {"exclusive", isc_tpb_exclusive},
    {"wait", isc_tpb_wait},
    {"nowait", isc_tpb_nowait},
    {"read", isc_tpb_read},
    {"write", isc_tpb_write},
    {"lock_read", isc_tpb_lock_read},
    {"lock_write", isc_tpb_lock_write},
    {"verb_time", isc_tpb_verb_time},
    {"commit_time", isc_tpb_commit_time},
    {"ignore_limbo", isc_tpb_ignore_limbo},
    {"read_committed", isc_tpb_read_committed},
    {"autocommit", isc_tpb_autocommit},
    {"rec_version", isc_tpb_rec_version},
    {"no_rec_version", isc_tpb_no_rec_version},
    {"restart_requests", isc_tpb_restart_requests},
    {"no_auto_undo", isc_tpb_no_auto_undo},
};

template <size_t N> int lookup(const NamedCode (&table)[N], std::string_view name) {
    auto found = std::find_if(std::begin(table), std::end(table),
                              [name](const NamedCode& n) { return n.name == name; });
    return found == std::end(table) ? 0 : found->code;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool isBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string withoutPrefix(std::string name, std::string_view prefix) {
    if (name.starts_with(prefix))
        name.erase(0, prefix.size());
    return name;
}

// Name and value of a line; a line without "=" is all name.
std::pair<std::string, std::string> splitLine(const std::string& line) {
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return {line, {}};
    return {line.substr(0, equals), line.substr(equals + 1)};
}

// Parameter values carry a one-byte length; a longer value would spill into
// the following parameters, so it is refused.
void appendCounted(std::string& buffer, const std::string& value, std::string_view what,
                   const std::string& name) {
    if (value.size() > 255)
        throw EDatabaseError(std::string(what) + " Constant (" + name + ") value is too long");
    buffer += static_cast<char>(value.size());
    buffer += value;
}

void appendInt32(std::string& buffer, int32_t value) {
    buffer += static_cast<char>(4);
    for (int shift = 0; shift < 32; shift += 8)
        buffer += static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF);
}

void appendAttachParameter(std::string& buffer, int code, const std::string& key, const std::string& value) {
    switch (code) {
    case isc_dpb_license:
    case isc_dpb_sys_user_name:
    case isc_dpb_encrypt_key:
    case isc_dpb_user_name:
    case isc_dpb_password:
    case isc_dpb_password_enc:
    case isc_dpb_lc_messages:
    case isc_dpb_lc_ctype:
    case isc_dpb_sql_role_name:
        buffer += static_cast<char>(code);
        appendCounted(buffer, value, "DPB", "isc_dpb_" + key);
        return;
    case isc_dpb_num_buffers:
    case isc_dpb_verify:
    case isc_dpb_dbkey_scope:
    case isc_dpb_damaged:
    case isc_dpb_sweep_interval:
    case isc_dpb_force_write:
    case isc_dpb_no_reserve:
    case isc_dpb_sql_dialect:
        buffer += static_cast<char>(code);
        appendInt32(buffer, StrToInt(value));
        return;
    case isc_dpb_sweep:
        buffer += static_cast<char>(code);
        buffer += static_cast<char>(1);
        buffer += static_cast<char>(isc_dpb_records);
        return;
    case isc_dpb_activate_shadow:
    case isc_dpb_delete_shadow:
    case isc_dpb_begin_log:
    case isc_dpb_quit_log:
        buffer += static_cast<char>(code);
        buffer += static_cast<char>(1);
        buffer += static_cast<char>(0);
        return;
    default:
        RaiseClientError(IBClientErrorCode::DpbConstantUnsupported, key);
    }
}

} // namespace

std::string BuildAttachParameterBuffer(const std::vector<std::string>& params) {
    std::string buffer(1, static_cast<char>(isc_dpb_version1));
    for (const auto& line : params) {
        auto [name, value] = splitLine(line);
        if (isBlank(name))
            continue;
        const std::string key = withoutPrefix(lowerCase(name), "isc_dpb_");
        const int code = lookup(kAttachNames, key);
        if (code == 0)
            RaiseClientError(IBClientErrorCode::DpbConstantUnknown, name);
        appendAttachParameter(buffer, code, key, value);
    }
    return buffer;
}

std::string BuildTransactionParameterBuffer(const std::vector<std::string>& params) {
    std::string buffer;
    if (params.empty())
        return buffer;
    buffer += static_cast<char>(isc_tpb_version3);
    for (const auto& line : params) {
        if (isBlank(line))
            continue;
        auto [name, value] = splitLine(line);
        const std::string key = withoutPrefix(lowerCase(name), "isc_tpb_");
        const int code = lookup(kTransactionNames, key);
        switch (code) {
        case 0:
            RaiseClientError(IBClientErrorCode::TpbConstantUnknown, name);
        case isc_tpb_consistency:
        case isc_tpb_concurrency:
        case isc_tpb_shared:
        case isc_tpb_protected:
        case isc_tpb_exclusive:
        case isc_tpb_wait:
        case isc_tpb_nowait:
        case isc_tpb_read:
        case isc_tpb_write:
        case isc_tpb_ignore_limbo:
        case isc_tpb_read_committed:
        case isc_tpb_rec_version:
        case isc_tpb_no_rec_version:
            buffer += static_cast<char>(code);
            break;
        case isc_tpb_lock_read:
        case isc_tpb_lock_write:
            buffer += static_cast<char>(code);
            appendCounted(buffer, value, "TPB", "isc_tpb_" + key);
            break;
        default:
            RaiseClientError(IBClientErrorCode::TpbConstantUnsupported, key);
        }
    }
    return buffer;
}
