#pragma once

// WinINet's numbers for what went wrong in an HTTP exchange; every platform reports these.
namespace wininet_error {
constexpr int kTimeout = 12002;
constexpr int kOperationCancelled = 12017;
constexpr int kInternalError = 12004;
constexpr int kInvalidUrl = 12005;
constexpr int kNameNotResolved = 12007;
constexpr int kCannotConnect = 12029;
constexpr int kConnectionAborted = 12030;
constexpr int kConnectionReset = 12031;
constexpr int kInvalidServerResponse = 12152;
constexpr int kRedirectFailed = 12156;
constexpr int kSecureChannelError = 12157;
}  // namespace wininet_error
