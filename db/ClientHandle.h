#pragma once
// The client library's attachment, transaction and statement handles, held
// without including its header. On 64-bit platforms they are 32-bit unsigned
// integers; ClientLibrary.h checks that this matches.

using ClientHandle = unsigned int;
