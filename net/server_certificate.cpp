#include "net/server_certificate.h"

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>
#include <cryptopp/hex.h>
#include <cryptopp/sha.h>

#include <array>
#include <cstdio>
#include <sstream>

namespace {

constexpr char kPemBegin[] = "-----BEGIN CERTIFICATE-----";
constexpr char kPemEnd[] = "-----END CERTIFICATE-----";

}  // namespace

std::string utc_time_text(const std::string& library_time) {
    static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::istringstream in(library_time);
    std::string month, clock, zone;
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char colon1 = 0, colon2 = 0;
    in >> month >> day >> clock >> year >> zone;
    std::istringstream clock_in(clock);
    clock_in >> hour >> colon1 >> minute >> colon2 >> second;
    int month_number = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (month == kMonths[i]) month_number = static_cast<int>(i) + 1;
    if (!in || !clock_in || colon1 != ':' || colon2 != ':' || month_number == 0 || zone != "GMT")
        return library_time;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month_number, day, hour, minute,
                  second);
    return text;
}

std::string pem_sha256(const std::string& pem) {
    const std::size_t begin = pem.find(kPemBegin);
    const std::size_t end = pem.find(kPemEnd);
    if (begin == std::string::npos || end == std::string::npos || end < begin) return {};
    const std::size_t body = begin + sizeof kPemBegin - 1;
    std::string der;
    CryptoPP::StringSource(pem.substr(body, end - body), true,
                           new CryptoPP::Base64Decoder(new CryptoPP::StringSink(der)));
    return der_sha256(der);
}

std::string der_sha256(const std::string& der) {
    if (der.empty()) return {};
    std::string hex;
    CryptoPP::SHA256 hash;
    CryptoPP::StringSource(
        der, true,
        new CryptoPP::HashFilter(hash, new CryptoPP::HexEncoder(new CryptoPP::StringSink(hex), false)));
    return hex;
}

std::optional<ServerCertificate> certificate_from_description(const std::vector<std::string>& lines) {
    ServerCertificate certificate;
    for (const std::string& line : lines) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = line.substr(0, colon);
        const std::string value = line.substr(colon + 1);
        if (name == "Subject")
            certificate.subject = value;
        else if (name == "Issuer")
            certificate.issuer = value;
        else if (name == "Start date")
            certificate.not_before = utc_time_text(value);
        else if (name == "Expire date")
            certificate.not_after = utc_time_text(value);
        else if (name == "Cert")
            certificate.sha256 = pem_sha256(value);
    }
    if (certificate.subject.empty()) return std::nullopt;
    return certificate;
}
