#pragma once

#include <string>

// The server's own words from the body of a refusal: S3, Azure and GCS send an XML error document
// whose <Message> says what is wrong ("Request has expired"). As one line of at most 300 bytes, with
// the XML escapes undone and every control character (a terminal's escape sequences too) made a
// space; empty when the body holds no message.
std::string server_error_message(const std::string& body);
