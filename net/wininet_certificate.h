#pragma once

#include <optional>

#include "net/server_certificate.h"

// The certificate the server of a sent WinINet request (an HINTERNET) presented, with whether its
// chain verifies against the system's certificate store; empty when none was presented or WinINet
// cannot tell. Windows only.
std::optional<ServerCertificate> wininet_presented_certificate(void* request);
