#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "net/blastsock.h"
#include "tests/integration/lab_support.h"
#include "tests/net/relay_vectors.h"

namespace {

// Short transfer time-outs keep the silent cases quick; the behaviour is the same at 5000 ms.
constexpr int kTestTimeoutMs = 500;

bool open_channel(blastsock& channel, int port) {
    return channel.Create() && channel.Connect("127.0.0.1", port) && channel.SetTimeouts(kTestTimeoutMs) &&
           channel.CryptInit();
}

// One try of the start exchange: the reply, or -1 when the channel failed before it.
int start_exchange(blastsock& channel, int port) {
    std::uint16_t reply = 0;
    if (!open_channel(channel, port) || !channel.SendCommand(NMS_C_START) || !channel.ReceiveCommand(reply))
        return -1;
    channel.Close();
    return reply;
}

std::string relay_scenario(const std::string& relay_fields) {
    return R"({"relays": [{"name": "relay")" + relay_fields + "}]}";
}

bool is_upper_hex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(c) || (c >= 'A' && c <= 'F'); });
}

}  // namespace

TEST(RelayChannelWithLab, RelaySeesAFreshUpperCaseRsa1024KeyEveryTime) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(relay_scenario(""))) << lab.error();
    blastsock channel;
    EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START_OK);
    EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START_OK) << "the channel object is reused";
    ASSERT_TRUE(lab.stop()) << lab.error();

    const auto& connections = lab.record()["relay"];
    ASSERT_EQ(connections.Size(), 2u);
    for (const auto& seen : connections.GetArray()) {
        const std::string key = seen["public_key"].GetString();
        EXPECT_EQ(key.size(), 320u);
        EXPECT_TRUE(is_upper_hex(key)) << key;
        EXPECT_EQ(seen["public_key_terminator"].GetInt(), 0);
        EXPECT_EQ(seen["modulus_bits"].GetInt(), 1024);
        EXPECT_EQ(seen["exponent"].GetInt(), 17);
        ASSERT_EQ(seen["commands"].Size(), 1u);
        EXPECT_EQ(seen["commands"][0]["value"].GetInt(), NMS_C_START);
    }
    EXPECT_STRNE(connections[0]["public_key"].GetString(), connections[1]["public_key"].GetString());
}

TEST(RelayChannelWithLab, CommandBytesMatchTheIndependentVectors) {
    const RelayVectors v = load_relay_vectors();
    for (const char* letter_case : {"upper", "lower"}) {
        ProductLab lab;
        ASSERT_TRUE(lab.start(relay_scenario(R"(, "session_text": ")" + v.session_text +
                                             R"(", "key_block_case": ")" + letter_case + "\"")))
            << lab.error();
        blastsock channel;
        EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START_OK) << letter_case;
        ASSERT_TRUE(lab.stop()) << lab.error();
        const auto& seen = lab.record()["relay"][0];
        EXPECT_EQ(std::string(seen["commands"][0]["cipher"].GetString()), v.start_command_cipher_hex);
        EXPECT_EQ(seen["commands"][0]["value"].GetInt(), NMS_C_START) << "the lab deciphers it alike";
    }
}

TEST(RelayChannelWithLab, OnlyTheAnsweredTryGetsTheOtherCode) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(relay_scenario(R"(, "replies_by_try": {"2": 300})"))) << lab.error();
    blastsock channel;
    EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START_OK);
    EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START);
    EXPECT_EQ(start_exchange(channel, lab.port("relay")), NMS_C_START_OK);
    ASSERT_TRUE(lab.stop());
}

TEST(RelayChannelWithLab, UnusableKeyBlocksFailTheKeyExchangeSafely) {
    for (const char* behaviour : {"close_after_public_key", "not_hex_key_block", "partial_key_block",
                                  "undecryptable_key_block", "short_session_text", "silent"}) {
        ProductLab lab;
        ASSERT_TRUE(lab.start(relay_scenario(R"(, "behaviour": ")" + std::string(behaviour) + "\"")))
            << lab.error();
        blastsock channel;
        ASSERT_TRUE(channel.Create());
        ASSERT_TRUE(channel.Connect("127.0.0.1", lab.port("relay")));
        ASSERT_TRUE(channel.SetTimeouts(kTestTimeoutMs));
        EXPECT_FALSE(channel.CryptInit()) << behaviour;
        channel.Close();
        EXPECT_FALSE(channel.is_open());
        ASSERT_TRUE(lab.stop()) << lab.error();
    }
}

TEST(RelayChannelWithLab, SilenceAfterTheKeyExchangeFailsTheReceiveAndClosesTheChannel) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(relay_scenario(R"(, "behaviour": "silent_after_key")"))) << lab.error();
    blastsock channel;
    ASSERT_TRUE(open_channel(channel, lab.port("relay")));
    EXPECT_TRUE(channel.SendCommand(NMS_C_START));
    std::uint16_t reply = 0;
    EXPECT_FALSE(channel.ReceiveCommand(reply));
    EXPECT_EQ(last_socket_error(), 10060) << "timed out, as Windows reports it";
    EXPECT_FALSE(channel.is_open());
    EXPECT_FALSE(channel.SendCommand(NMS_C_START)) << "nothing goes out on a closed channel";
    ASSERT_TRUE(lab.stop());
}

class SocketWithLab : public ::testing::Test {
protected:
    // Starts one relay with that behaviour and connects `socket` to it.
    void connect_to_relay(const std::string& behaviour, const std::string& host = "127.0.0.1") {
        ASSERT_TRUE(lab.start(relay_scenario(R"(, "behaviour": ")" + behaviour + "\""))) << lab.error();
        ASSERT_TRUE(socket.Create());
        ASSERT_TRUE(socket.Connect(host, lab.port("relay")));
    }

    ProductLab lab;
    Socket socket;
    const std::string key = std::string(321, 'A');
};

TEST_F(SocketWithLab, PeerClosingMidReceiveLeavesNoSocket) {
    // A name gives its first IPv4 address.
    ASSERT_NO_FATAL_FAILURE(connect_to_relay("close_after_public_key", "localhost"));
    ASSERT_TRUE(socket.SendAll(key.data(), static_cast<int>(key.size())));
    char block[257];
    EXPECT_FALSE(socket.RecvAll(block, sizeof block));
    EXPECT_FALSE(socket.is_open());
}

TEST_F(SocketWithLab, ZeroLengthSendFailsAndCloses) {
    ASSERT_NO_FATAL_FAILURE(connect_to_relay("silent"));
    char nothing = 0;
    EXPECT_TRUE(socket.RecvAll(&nothing, 0));
    EXPECT_FALSE(socket.SendAll(&nothing, 0));
    EXPECT_FALSE(socket.is_open());

    Socket plain;
    ASSERT_TRUE(plain.Create());
    EXPECT_TRUE(plain.ConnectPlain("127.0.0.1", lab.port("relay")));
}

TEST_F(SocketWithLab, AServerThatDoesNotAcceptWithinTwoSecondsIsUnreachable) {
    // The first connection fills the backlog of 0.
    ASSERT_NO_FATAL_FAILURE(connect_to_relay("never_accept"));
    Socket late;
    ASSERT_TRUE(late.Create());
    EXPECT_FALSE(late.Connect("127.0.0.1", lab.port("relay")));
    EXPECT_EQ(last_socket_error(), 10035) << "the attempt is still pending: would block";
    EXPECT_TRUE(late.is_open()) << "the owner closes a socket that did not connect";
}

TEST_F(SocketWithLab, WritingToAPeerThatLeftFailsWithoutKillingTheProcess) {
    ASSERT_NO_FATAL_FAILURE(connect_to_relay("close_after_public_key"));
    ASSERT_TRUE(socket.SendAll(key.data(), static_cast<int>(key.size())));
    // Once the lab has gone, the connection was closed in order and nothing listens any more: the
    // next send draws a reset, and the one after it would raise a broken-pipe signal.
    ASSERT_TRUE(lab.stop());
    int sends = 0;
    while (sends < 100 && socket.SendAll(key.data(), static_cast<int>(key.size()))) ++sends;
    EXPECT_LT(sends, 100);
    EXPECT_FALSE(socket.is_open());
}
