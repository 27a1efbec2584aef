#include "sys/error_text.h"

#include <algorithm>
#include <iterator>
#include <system_error>

#include "sys/ascii_text.h"

namespace {

struct InternetMessage {
    int code;
    const char* text;
};

// The HTTP client reports failures with the Windows internet library's numbers on every platform, so
// their English messages live here rather than in the system's table. Ascending by code.
constexpr InternetMessage kInternetMessages[] = {
    {12001, "No more handles could be generated at this time"},
    {12002, "The operation timed out"},
    {12003, "An extended error was returned from the server"},
    {12004, "An internal error occurred in the Microsoft Internet extensions"},
    {12005, "The URL is invalid"},
    {12006, "The URL does not use a recognized protocol"},
    {12007, "The server name or address could not be resolved"},
    {12008, "A protocol with the required capabilities was not found"},
    {12009, "The option is invalid"},
    {12010, "The length is incorrect for the option type"},
    {12011, "The option value cannot be set"},
    {12012, "Microsoft Internet Extension support has been shut down"},
    {12013, "The user name was not allowed"},
    {12014, "The password was not allowed"},
    {12015, "The login request was denied"},
    {12016, "The requested operation is invalid"},
    {12017, "The operation has been canceled"},
    {12018, "The supplied handle is the wrong type for the requested operation"},
    {12019, "The handle is in the wrong state for the requested operation"},
    {12020, "The request cannot be made on a Proxy session"},
    {12021, "The registry value could not be found"},
    {12022, "The registry parameter is incorrect"},
    {12023, "Direct Internet access is not available"},
    {12024, "No context value was supplied"},
    {12025, "No status callback was supplied"},
    {12026, "There are outstanding requests"},
    {12027, "The information format is incorrect"},
    {12028, "The requested item could not be found"},
    {12029, "A connection with the server could not be established"},
    {12030, "The connection with the server was terminated abnormally"},
    {12031, "The connection with the server was reset"},
    {12032, "The action must be retried"},
    {12033, "The proxy request is invalid"},
    {12034, "User interaction is required to complete the operation"},
    {12036, "The handle already exists"},
    {12037, "The date in the certificate is invalid or has expired"},
    {12038, "The host name in the certificate is invalid or does not match"},
    {12039, "A redirect request will change a non-secure to a secure connection"},
    {12040, "A redirect request will change a secure to a non-secure connection"},
    {12041, "Mixed secure and non-secure connections"},
    {12042, "Changing to non-secure post"},
    {12043, "Data is being posted on a non-secure connection"},
    {12044, "A certificate is required to complete client authentication"},
    {12045, "The certificate authority is invalid or incorrect"},
    {12046, "Client authentication has not been correctly installed"},
    {12047, "An error has occurred in a Wininet asynchronous thread. You may need to restart"},
    {12048, "The protocol scheme has changed during a redirect operation"},
    {12049, "There are operations awaiting retry"},
    {12050, "The operation must be retried"},
    {12051, "There are no new cache containers"},
    {12052, "A security zone check indicates the operation must be retried"},
    {12053, "The requested resource is on a removable medium that is not present"},
    {12054, "The requested resource requires Fortezza authentication"},
    {12055, "The SSL certificate contains errors"},
    {12056, "The SSL certificate was not revoked"},
    {12057, "The revocation check of the SSL certificate failed"},
    {12110, "There is already an FTP request in progress on this FTP session"},
    {12111, "The FTP session was terminated"},
    {12112, "FTP Passive mode is not available"},
    {12130, "A gopher protocol error occurred"},
    {12131, "The locator must be for a file"},
    {12132, "An error was detected while parsing the data"},
    {12133, "There is no more data"},
    {12134, "The locator is invalid"},
    {12135, "The locator type is incorrect for this operation"},
    {12136, "The request must be for a gopher+ item"},
    {12137, "The requested attribute was not found"},
    {12138, "The locator type is not recognized"},
    {12150, "The requested header was not found"},
    {12151, "The server does not support the requested protocol level"},
    {12152, "The server returned an invalid or unrecognized response"},
    {12153, "The supplied HTTP header is invalid"},
    {12154, "The request for a HTTP header is invalid"},
    {12155, "The HTTP header already exists"},
    {12156, "The HTTP redirect request failed"},
    {12157, "An error occurred in the secure channel support"},
    {12158, "The file could not be written to the cache"},
    {12159, "The TCP/IP protocol is not installed properly"},
    {12160, "The HTTP request was not redirected"},
    {12161, "A cookie from the server must be confirmed by the user"},
    {12162, "A cookie from the server has been declined acceptance"},
    {12163, "The Internet connection has been lost"},
    {12164, "The website or server indicated is unreachable"},
    {12165, "The designated proxy server cannot be reached"},
    {12166, "There was an error in the automatic configuration script"},
    {12167, "The automatic configuration script could not be downloaded"},
    {12168, "The HTTP redirect request must be confirmed by the user"},
    {12169, "The SSL certificate is invalid"},
    {12170, "The SSL certificate has been revoked"},
    {12171, "The function failed due to a security check"},
    {12172, "Initialization of the WinINet API has not occurred"},
    {12173, "The request requires single sign-on authentication"},
    {12174, "Login failed and the client should display the entity body to the user"},
    {12175, "Content decoding has failed"},
};

// Beyond this no system has error numbers of its own; the internet numbers are listed separately.
constexpr int kHighestSystemCode = 20000;

const char* internet_message(int code) {
    auto it = std::lower_bound(std::begin(kInternetMessages), std::end(kInternetMessages), code,
                               [](const InternetMessage& m, int c) { return m.code < c; });
    return it != std::end(kInternetMessages) && it->code == code ? it->text : nullptr;
}

}  // namespace

std::string error_text(int code) {
    if (const char* text = internet_message(code)) return text;
    return std::system_category().message(code);
}

bool is_unknown_error_text(const std::string& text) {
    std::string lower = ascii_lower(text);
    // "Unknown error code" is what Windows' C++ library says of a number the system has no message for.
    if (lower.empty() || lower == "unknown error" || lower == "unknown error code") return true;
    // The C library's "Unknown error 1234" (or "-5").
    const std::string prefix = "unknown error ";
    if (lower.compare(0, prefix.size(), prefix) != 0) return false;
    std::string number = lower.substr(prefix.size());
    if (!number.empty() && number[0] == '-') number.erase(0, 1);
    return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
}

std::vector<int> known_error_codes() {
    std::vector<int> codes;
    for (int code = 1; code <= kHighestSystemCode; ++code)
        if (!is_unknown_error_text(error_text(code))) codes.push_back(code);
    return codes;
}
