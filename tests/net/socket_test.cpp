#include "net/Socket.h"

#include <gtest/gtest.h>

#include "net/blastsock.h"
#include "net/host_name.h"

TEST(Socket, UnresolvableHostFailsWithInvalidArgumentAndNoAttempt) {
    Socket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("relay.example.invalid", 7002));
    EXPECT_EQ(last_socket_error(), 10022);
    EXPECT_FALSE(socket.Connect("255.255.255.255", 7002));
    EXPECT_EQ(last_socket_error(), 10022);
    EXPECT_FALSE(socket.Connect("127.0.0.1", 65536 + 7002)) << "not cut down to port 7002";
    EXPECT_EQ(last_socket_error(), 10022);
    EXPECT_TRUE(socket.is_open()) << "a failed connect leaves the socket to its owner";
}

TEST(Socket, RefusedConnectionFailsAtOnceWithTheWindowsNumber) {
    Socket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("127.0.0.1", 1));
    EXPECT_EQ(last_socket_error(), 10061);
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.ConnectPlain("127.0.0.1", 1));
    EXPECT_EQ(last_socket_error(), 10061);
}

TEST(Socket, ErrorNumbersGoBothWaysAndUnknownOnesPassThrough) {
    for (int code : {10022, 10035, 10054, 10060, 10061}) {
        socket_shim::set_last_error(code);
        EXPECT_EQ(last_socket_error(), code);
    }
    socket_shim::set_last_error(4242);
    EXPECT_EQ(last_socket_error(), 4242);
    socket_shim::set_last_error(0);
    EXPECT_EQ(last_socket_error(), 0);
}

TEST(Socket, TransfersWithoutAConnection) {
    Socket socket;
    char buffer[4] = {};
    EXPECT_TRUE(socket.RecvAll(buffer, 0));
    EXPECT_FALSE(socket.RecvAll(buffer, 4));
    EXPECT_FALSE(socket.SendAll(buffer, 4));
    EXPECT_FALSE(socket.Connect("127.0.0.1", 1)) << "no socket was created";
}

TEST(Socket, OwnershipDecidesWhoCloses) {
    Socket owner;
    ASSERT_TRUE(owner.Create());
    EXPECT_TRUE(owner.owns_handle);
    {
        Socket borrower;
        borrower.socket_handle = owner.socket_handle;
        borrower.owns_handle = false;
    }
    EXPECT_TRUE(owner.SetTimeouts(5000)) << "a borrower must not close the handle";
    owner.Close();
    EXPECT_FALSE(owner.is_open());
}

TEST(RelayChannel, RefusesCommandsBeforeTheKeyExchange) {
    blastsock channel;
    std::uint16_t command = 0;
    EXPECT_FALSE(channel.SendCommand(NMS_C_START));
    EXPECT_FALSE(channel.ReceiveCommand(command));
    EXPECT_FALSE(channel.CryptInit()) << "no connection to exchange keys over";
}

TEST(HostName, ReservedInvalidNames) {
    EXPECT_TRUE(is_reserved_invalid_name("checklist.tarvo.invalid"));
    EXPECT_TRUE(is_reserved_invalid_name("X.INVALID."));
    EXPECT_TRUE(is_reserved_invalid_name("invalid"));
    EXPECT_FALSE(is_reserved_invalid_name("notinvalid"));
    EXPECT_FALSE(is_reserved_invalid_name("invalid.example.com"));
}
