#include "tools/lab/lab_record.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <cstdio>
#include <fstream>

namespace {

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void text(Writer& writer, const char* name, const std::string& value) {
    writer.Key(name);
    writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

void number(Writer& writer, const char* name, long value) {
    writer.Key(name);
    writer.Int64(value);
}

void write_request(Writer& writer, const HttpRequestSeen& request) {
    writer.StartObject();
    text(writer, "server", request.server);
    text(writer, "method", request.method);
    text(writer, "path", request.path);
    text(writer, "version", request.version);
    writer.Key("headers");
    writer.StartArray();
    for (const auto& [name, value] : request.headers) {
        writer.StartArray();
        writer.String(name.c_str());
        writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
        writer.EndArray();
    }
    writer.EndArray();
    text(writer, "body", request.body);
    number(writer, "body_length", request.body_length);
    text(writer, "body_md5", request.body_md5);
    writer.EndObject();
}

void write_connection(Writer& writer, const RelayConnectionSeen& connection) {
    writer.StartObject();
    text(writer, "server", connection.server);
    number(writer, "try", connection.try_number);
    writer.Key("public_key_received");
    writer.Bool(connection.public_key_received);
    text(writer, "public_key", connection.public_key);
    number(writer, "public_key_terminator", connection.public_key_terminator);
    number(writer, "modulus_bits", connection.modulus_bits);
    number(writer, "exponent", connection.exponent);
    text(writer, "session_text", connection.session_text);
    text(writer, "key_block", connection.key_block);
    writer.Key("commands");
    writer.StartArray();
    for (const RelayCommandSeen& command : connection.commands) {
        writer.StartObject();
        text(writer, "cipher", command.cipher_hex);
        number(writer, "value", command.value);
        number(writer, "reply", command.reply);
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
}

}  // namespace

void LabRecord::add(HttpRequestSeen request) {
    std::lock_guard guard(lock);
    requests.push_back(std::move(request));
}

void LabRecord::add(RelayConnectionSeen connection) {
    std::lock_guard guard(lock);
    connections.push_back(std::move(connection));
}

bool LabRecord::write(const std::string& path, const std::map<std::string, int>& ports) const {
    std::lock_guard guard(lock);
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writer.StartObject();
    writer.Key("ports");
    writer.StartObject();
    for (const auto& [name, port] : ports) {
        writer.Key(name.c_str());
        writer.Int(port);
    }
    writer.EndObject();
    writer.Key("http");
    writer.StartArray();
    for (const HttpRequestSeen& request : requests) write_request(writer, request);
    writer.EndArray();
    writer.Key("relay");
    writer.StartArray();
    for (const RelayConnectionSeen& connection : connections) write_connection(writer, connection);
    writer.EndArray();
    writer.EndObject();

    // Written beside the target and renamed, so a reader never sees half a record.
    const std::string partial = path + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << buffer.GetString() << '\n';
        if (!file) return false;
    }
    return std::rename(partial.c_str(), path.c_str()) == 0;
}
