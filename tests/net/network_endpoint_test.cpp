#include <gtest/gtest.h>

#include "net/tcp_client.h"
#include "net/tcp_exception.h"

using namespace Nerova::NvLib::Protocols::Ethernet;

TEST(NetworkEndpoint, LocalhostInAnyCaseBecomesTheLoopbackAddress) {
    for (const char* name : {"localhost", "LOCALHOST", "LocalHost"}) {
        EXPECT_EQ(NetworkEndpoint(name, "5963").ip(), "127.0.0.1") << name;
        EXPECT_TRUE(isValidIpAddress(name)) << name;
    }
    EXPECT_EQ(NetworkEndpoint("localhost.", "1").ip(), "localhost.");
    EXPECT_EQ(NetworkEndpoint("10.0.0.1", "007").port(), "007");
}

TEST(NetworkEndpoint, AddressNeedsFourByteSizedPartsAndPortsStayBelow65536) {
    for (const char* good : {"10.0.0.1", "255.255.255.255"}) EXPECT_TRUE(isValidIpAddress(good)) << good;
    for (const char* bad : {"192.168.0", "192.168.0.256", "1.2.3.4.5", "a.b.c.d", "", "example.org"})
        EXPECT_FALSE(isValidIpAddress(bad)) << bad;

    for (const char* good : {"0", "65535", "0x1F90"}) EXPECT_TRUE(isValidPort(good)) << good;
    // "0x" is read as decimal: the x is left over.
    for (const char* bad : {"", "65536", "99999999999999999999999", "0x", "80a", "1F90"})
        EXPECT_FALSE(isValidPort(bad)) << bad;
    EXPECT_EQ(parsePort("0x1F90"), 8080);
    EXPECT_EQ(parsePort("5963"), 5963);
}

TEST(TcpClientEndpoint, InvalidEndpointIsKeptByTheConstructorAndRejectedBySetEndpoint) {
    const NetworkEndpoint bad("192.168.0", "80");
    TcpClient client(bad);  // must not throw
    EXPECT_FALSE(client.isEndpointValid());
    EXPECT_EQ(client.getEndpoint(), bad);

    client.setEndpoint(NetworkEndpoint("127.0.0.1", "80"));
    EXPECT_TRUE(client.isEndpointValid());

    try {
        client.setEndpoint(NetworkEndpoint("127.0.0.1", "65536"));
        FAIL() << "an invalid port was accepted";
    } catch (const TcpException& error) {
        EXPECT_EQ(error.code(), TcpError::InvalidEndpoint);
        EXPECT_STREQ(error.what(), "Invalid TCP endpoint");
    }
    EXPECT_FALSE(client.isEndpointValid());
    EXPECT_FALSE(client.isConnecting());
}
