#pragma once
// Whole blob values through the client library's segment calls. Internal to db/*.cpp.
#include "db/ClientLibrary.h"

#include <string>

std::string ReadBlob(ClientHandle* database, ClientHandle* transaction, const ISC_QUAD& id);

// A new blob holding `content`; the id is what a parameter then refers to.
ISC_QUAD CreateBlob(ClientHandle* database, ClientHandle* transaction, const std::string& content);
