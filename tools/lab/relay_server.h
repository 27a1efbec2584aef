#pragma once

#include <atomic>
#include <string>

#include "tools/lab/lab_record.h"
#include "tools/lab/relay_cipher.h"
#include "tools/lab/scenario.h"
#include "tools/lab/tcp_listener.h"

// A relay server that speaks the relay wire format, with the misbehaviour its plan asks for.
// Tries are counted by connection, from 1.
class RelayServer {
public:
    RelayServer(RelayPlan plan, LabRecord& record);
    bool open(std::string& error);
    int port() const { return listener.port(); }
    void start();
    void stop() { listener.stop(); }

private:
    void serve(LabConnection& connection);
    void exchange(LabConnection& connection, RelayConnectionSeen& seen);
    std::string key_block_for(const RsaPublicKey& public_key, const std::string& session_text) const;
    void answer_commands(LabConnection& connection, RelayConnectionSeen& seen);
    void send_garbage(LabConnection& connection) const;

    RelayPlan plan;
    LabRecord& record;
    TcpListener listener;
    std::atomic<int> tries{0};
};
