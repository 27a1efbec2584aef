// What an upload reads in the server's answer: the checksum of what it stored, why it refused, and
// how long it wants the next attempt to wait.
#include <gtest/gtest.h>

#include "net/md5_digest.h"
#include "net/retry_after.h"
#include "net/server_error_message.h"
#include "net/stored_checksum.h"

namespace {

std::string md5_of(const std::string& text) {
    Md5Digest digest;
    digest.add(text.data(), text.size());
    return digest.finish();
}

}  // namespace

TEST(StoredChecksum, EachStoresFormIsComparedAndOtherEtagsSayNothing) {
    const std::string md5 = md5_of("abc");
    ASSERT_EQ(hex_text(md5), "900150983cd24fb0d6963f7d28e17f72");  // RFC 1321's example
    const auto check = [&](const HttpHeaderFields& fields) { return check_stored_checksum(fields, md5); };

    StoredChecksum s3 = check({{"ETag", "\"900150983CD24FB0D6963F7D28E17F72\""}});
    EXPECT_TRUE(s3.given && s3.matches);
    EXPECT_EQ(s3.field, "ETag");
    EXPECT_TRUE(check({{"Content-MD5", "kAFQmDzST7DWlj99KOF/cg=="}}).matches);
    EXPECT_TRUE(check({{"x-ms-content-md5", "kAFQmDzST7DWlj99KOF/cg=="}}).matches);
    EXPECT_TRUE(check({{"x-goog-hash", "crc32c=n03x6A==, md5=kAFQmDzST7DWlj99KOF/cg=="}}).matches);

    for (const HttpHeaderFields& silent :
         std::vector<HttpHeaderFields>{{{"ETag", "\"0x8DBE1F1E2F6C9A3\""}},                   // Azure's
                                       {{"ETag", "\"900150983cd24fb0d6963f7d28e17f72-2\""}},  // multipart
                                       {{"ETag", "W/\"900150983cd24fb0d6963f7d28e17f72\""}},  // weak
                                       {{"x-goog-hash", "crc32c=n03x6A=="}},
                                       {}}) {
        EXPECT_FALSE(check(silent).given) << (silent.empty() ? "" : silent[0].second);
    }

    const StoredChecksum differs = check(
        {{"Content-MD5", "kAFQmDzST7DWlj99KOF/cg=="}, {"ETag", "\"00000000000000000000000000000000\""}});
    EXPECT_TRUE(differs.given);
    EXPECT_FALSE(differs.matches) << "one field that differs is enough";
    EXPECT_EQ(differs.field, "ETag");
    EXPECT_EQ(differs.value, "\"00000000000000000000000000000000\"");
}

TEST(ServerErrorMessage, TakesTheMessageOfAnErrorDocumentAsOneSafeLine) {
    EXPECT_EQ(
        server_error_message("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Error><Code>AccessDenied</Code>"
                             "<Message>Request has expired</Message><Expires>2026-01-01</Expires></Error>"),
        "Request has expired");
    // Azure's spans lines; a hostile server may send a terminal's escape sequences.
    EXPECT_EQ(server_error_message("<Error><Message>Server failed to authenticate the request.\n"
                                   "RequestId:7d\r\nTime:2026 &amp; &lt;x&gt;\x1b[2J</Message></Error>"),
              "Server failed to authenticate the request. RequestId:7d Time:2026 & <x> [2J");
    EXPECT_EQ(server_error_message("<html>403 Forbidden</html>"), "");
    EXPECT_EQ(server_error_message("<Message>never closed"), "");
    EXPECT_EQ(server_error_message("<Message>" + std::string(1000, 'x') + "</Message>").size(), 300u);
}

TEST(RetryAfter, SecondsOrADateFromNow) {
    constexpr std::int64_t now = 1792567680;  // Wed, 21 Oct 2026 07:28:00 GMT
    EXPECT_EQ(retry_after_seconds("120", now), 120);
    EXPECT_EQ(retry_after_seconds("0", now), 0);
    EXPECT_EQ(retry_after_seconds("Wed, 21 Oct 2026 07:28:30 GMT", now), 30);
    EXPECT_EQ(retry_after_seconds("Wed, 21 Oct 2026 07:27:00 GMT", now), 0) << "a date past means now";
    EXPECT_EQ(retry_after_seconds("Tue, 29 Feb 2028 00:00:00 GMT", now), 42827520) << "a leap day";
    for (const char* unusable :
         {"", "-5", "soon", "1.5", "Wed, 21 Oct 2026 07:28:30 PST", "Wed, 21 Foo 2026 07:28:30 GMT"})
        EXPECT_FALSE(retry_after_seconds(unusable, now)) << unusable;
}
