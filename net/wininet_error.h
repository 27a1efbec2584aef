#pragma once

// WinINet's numbers for what went wrong in an HTTP exchange; every platform reports these.
namespace wininet_error {
constexpr int kTimeout = 12002;
constexpr int kInternalError = 12004;
constexpr int kInvalidUrl = 12005;
constexpr int kNameNotResolved = 12007;
constexpr int kOperationCancelled = 12017;
constexpr int kCannotConnect = 12029;
constexpr int kConnectionAborted = 12030;
constexpr int kConnectionReset = 12031;
constexpr int kCertificateDateInvalid = 12037;
constexpr int kCertificateNameInvalid = 12038;
constexpr int kCertificateAuthorityInvalid = 12045;
constexpr int kCertificateRevocationFailed = 12057;
constexpr int kInvalidServerResponse = 12152;
constexpr int kRedirectFailed = 12156;
constexpr int kSecureChannelError = 12157;
constexpr int kCertificateInvalid = 12169;
constexpr int kCertificateRevoked = 12170;
}  // namespace wininet_error
