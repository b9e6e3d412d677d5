#pragma once
// The attach and transaction parameter buffers, built from the parameter lines
// of a connection or a transaction. The result holds the buffer's bytes.
#include <string>
#include <vector>

// Lines "name=value"; the name may carry the "isc_dpb_" prefix, in any case.
// Raises code 114 for an unknown name, 11 for a known one this layer cannot encode.
std::string BuildAttachParameterBuffer(const std::vector<std::string>& params);

// Lines such as "read_committed" or "lock_write=TABLE"; empty without lines.
// Raises code 115 for an unknown name, 13 for a known one that cannot be used.
std::string BuildTransactionParameterBuffer(const std::vector<std::string>& params);
