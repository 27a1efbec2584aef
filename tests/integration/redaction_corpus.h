#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "sys/user_identity.h"

// Private values planted in the forms real logs hold them, for the redacted bundle's test. The forms
// that are not addresses (versions, dashed time stamps) must come through as they are.
namespace redaction_corpus {

inline UserIdentity identity(const std::string& home) {
    return {"kiosk-planted-07.corp-planted.example", "jkimplanted", "Kim O'Plantedname", home};
}

// home percent-encoded whole, as a URL's query holds a path.
inline std::string url_encoded(const std::string& text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

inline std::string text(const std::string& home) {
    std::string json_home;  // with "\/" and doubled backslashes, as some JSON writers put a path
    for (char c : home)
        json_home += c == '/' ? std::string("\\/") : c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "connect 198.51.100.23 and 2001:db8:5::17 (2001:0db8:0005:0000:0000:0000:0000:0017)\n"
           "glued srv198.51.100.24, cloud ip-198-51-100-25.ec2.internal, netstat 198.51.100.26.443\n"
           "inet6 addr:2001:db8:5::18/64 peer 2001:db8:5:0:0:0:0:19:8443\n"
           "nic 0a:1b:2c:3d:4e:5f 0A-1B-2C-3D-4E-60 0a1b.2c3d.4e61\n"
           "DHCPv6 Client DUID. . . . . . . . : 00-01-00-01-2A-3B-4C-5D-0A-1B-2C-3D-4E-62\n"
           "mail jiwoo.kim@example.org mailto%3Ajiwoo.kim%40example.org "
           "{\"m\":\"jiwoo.kim\\u0040example.org\"}\n"
           "on kiosk-planted-07.corp-planted.example via relay.corp-planted.example as jkimplanted\n"
           "name Kim O'Plantedname, Kim+O%27Plantedname, home " +
           home +
           "/Documents\n"
           "url ?u=%2Fjkimplanted%2F&h=" +
           url_encoded(home) + "%2Fa.log json {\"home\":\"" + json_home +
           "\"}\n"
           "kept: build 1.0.0.7, 버전 1.0.0.1, FileVersion 7.1.0.3, at 2024-03-05-14-07-09\n";
}

// What must not be found in the bundle in any decoding (letter case aside), grouped by value: the map
// beside the bundle must hold one spelling of each group.
inline std::vector<std::vector<std::string>> planted(const std::string& home) {
    return {{"198.51.100.23"},
            {"198.51.100.24"},
            {"198.51.100.25", "198-51-100-25"},
            {"198.51.100.26"},
            {"2001:db8:5::17", "2001:0db8:0005:0000:0000:0000:0000:0017"},
            {"2001:db8:5::18"},
            {"2001:db8:5:0:0:0:0:19"},
            {"0a:1b:2c:3d:4e:5f"},
            {"0a-1b-2c-3d-4e-60"},
            {"0a1b.2c3d.4e61"},
            {"0a-1b-2c-3d-4e-62"},
            {"jiwoo.kim@example.org", "jiwoo.kim%40example.org", "jiwoo.kim\\u0040example.org"},
            {"kiosk-planted-07"},
            {"corp-planted.example"},
            {"jkimplanted"},
            {"Kim O'Plantedname", "Kim+O%27Plantedname"},
            {home, url_encoded(home)}};
}

inline std::vector<std::string> kept() {
    return {"build 1.0.0.7", "버전 1.0.0.1", "FileVersion 7.1.0.3", "2024-03-05-14-07-09"};
}

}  // namespace redaction_corpus
