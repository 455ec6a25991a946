#include "namevalidators.h"
#include "openvpnoptions.h"
#include "profilevalidator.h"
#include "support/packetbuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(InterfaceName, AcceptsTunnelNamesAndRefusesShellText)
{
    for (const char* good : {"", "tun0", "tun-kv.1", "a_b", "abcdefghijklmno"}) {
        EXPECT_TRUE(isValidInterfaceName(good)) << good;
    }
    for (const char* bad :
         {"abcdefghijklmnop", "tun0;reboot", "tun 0", "$(id)", ".", "..", "tun0\n", "-tun0"}) {
        EXPECT_FALSE(isValidInterfaceName(bad)) << bad;
    }
}

TEST(TimezoneName, ShapeOfIanaNames)
{
    for (const char* good :
         {"Europe/Berlin", "Etc/GMT+5", "America/Argentina/Buenos_Aires", "UTC", "Etc/GMT-14"}) {
        EXPECT_TRUE(isValidTimezoneName(good)) << good;
    }
    for (const char* bad :
         {"", "/etc/passwd", "../../etc/shadow", "Europe/../../x", "$(id)", "Europe/Berlin\"",
          "Europe//Berlin", "Europe/", "a b", "Europe/Berlin;id", "-rf", "Europe/."}) {
        EXPECT_FALSE(isValidTimezoneName(bad)) << bad;
    }
}

TEST(TimezoneName, KnownZoneNeedsATzifFile)
{
    char dir[] = "/tmp/kvzoneXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string root = dir;
    mkdir((root + "/Europe").c_str(), 0755);
    std::ofstream(root + "/Europe/Berlin") << "TZif2....";
    std::ofstream(root + "/Europe/Fake") << "#!/bin/sh";
    mkdir((root + "/Europe/Dir").c_str(), 0755);

    EXPECT_TRUE(isKnownTimezone("Europe/Berlin", root));
    EXPECT_FALSE(isKnownTimezone("Europe/Fake", root));
    EXPECT_FALSE(isKnownTimezone("Europe/Dir", root));
    EXPECT_FALSE(isKnownTimezone("Europe/Missing", root));

    remove((root + "/Europe/Berlin").c_str());
    remove((root + "/Europe/Fake").c_str());
    rmdir((root + "/Europe/Dir").c_str());
    rmdir((root + "/Europe").c_str());
    rmdir(dir);
}

TEST(OpenvpnOptions, AcceptsExactlyWhatTheClientBuilds)
{
    const auto options = parseOpenvpnOptions(clientOptions("/tmp/Kestrova.a1B2c3", 40123));
    ASSERT_TRUE(options);
    EXPECT_EQ(options->configPath, "/tmp/Kestrova.a1B2c3");
    EXPECT_EQ(options->managementPort, 40123);
    EXPECT_FALSE(options->managementClient);
    const auto connects = parseOpenvpnOptions(clientOptions("/tmp/Kestrova.a1B2c3", 40123, true));
    ASSERT_TRUE(connects);
    EXPECT_TRUE(connects->managementClient);

    const auto spaced = parseOpenvpnOptions(clientOptions("/home/a user/Kestrova.x", 1024));
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->configPath, "/home/a user/Kestrova.x");
}

TEST(OpenvpnOptions, RefusesEverythingElse)
{
    const std::string script = "/usr/share/kestrova/script/update-resolv-conf.sh";
    const std::string tail =
        " --management-query-passwords --script-security 2 --up " + script + " --down " + script;
    const std::string head = "--config \"/tmp/p\" --management 127.0.0.1 4000";
    const std::vector<std::string> refused = {
        "",
        head + tail + " --up /tmp/x",
        "--config \"/tmp/p\" --management 127.0.0.1 4000 --management-query-passwords --script-security 2 "
        "--up "
        "/tmp/x --down " +
            script,
        head + " --management-query-passwords --script-security 3 --up " + script + " --down " + script,
        "--config /tmp/p --management 127.0.0.1 4000" + tail,
        "--config \"tmp/p\" --management 127.0.0.1 4000" + tail,
        "--config \"/tmp/../etc/p\" --management 127.0.0.1 4000" + tail,
        "--config \"/tmp/p\" --management 0.0.0.0 4000" + tail,
        "--config \"/tmp/p\" --management 127.0.0.1 0" + tail,
        "--config \"/tmp/p\" --management 127.0.0.1 1023" + tail,
        "--config \"/tmp/p\" --management 127.0.0.1 65536" + tail,
        "--config \"/tmp/p\" --management 127.0.0.1 4000x" + tail,
        head + tail + "; id",
        head + tail + " $(id)",
        head + tail + " --plugin /tmp/x.so",
        head + " --management-client --management-client" + tail,
        head + " --management-client 127.0.0.1" + tail,
        head + " \"--management-client\"" + tail,
        head + " --management-query-passwords --script-security 2 --up " + script,
        "--config \"/tmp/p\"x --management 127.0.0.1 4000" + tail,
        "--config \"/tmp/p\" --config \"/tmp/q\" --management 127.0.0.1 4000" + tail,
        "--config \"/tmp/p\n--plugin x\" --management 127.0.0.1 4000" + tail,
        "--config\t\"/tmp/p\" --management 127.0.0.1 4000" + tail,
    };
    for (const std::string& text : refused) {
        EXPECT_FALSE(parseOpenvpnOptions(text)) << text;
    }
}

namespace {

const char* kGoodProfile =
    "client\r\n"
    "dev tun\r\n"
    "proto udp\r\n"
    "remote 192.0.2.10 1194 udp\r\n"
    "resolv-retry infinite\r\n"
    "nobind\r\n"
    "persist-key\r\n"
    "persist-tun\r\n"
    "remote-cert-tls server\r\n"
    "# a comment\r\n"
    "; another\r\n"
    "cipher AES-256-CBC\r\n"
    "auth-user-pass\r\n"
    "verify-x509-name \"C=US, CN=server\" subject\r\n"
    "key-direction 1\r\n"
    "<ca>\r\n-----BEGIN CERTIFICATE-----\r\nMIIB\r\n-----END CERTIFICATE-----\r\n</ca>\r\n"
    "<tls-auth>\r\n6acef03f62675b4b\r\n</tls-auth>\r\n"
    "\r\n<cert>\r\nMIIC\r\n</cert>\r\n"
    "\r\n<key>\r\nMIIE\r\n</key>\r\n";

} // namespace

TEST(ProfileValidator, AcceptsClientProfilesOfBothLayouts)
{
    EXPECT_TRUE(validateProfile(kGoodProfile).ok) << validateProfile(kGoodProfile).reason;
    const std::string stealth = std::string("proto tcp\r\nremote 127.0.0.1 40001\r\n") + kGoodProfile +
                                "\r\nroute 192.0.2.10 255.255.255.255 net_gateway"
                                "\r\nroute-up \"/bin/ip route del 127.0.0.1\"";
    const ProfileCheck check = validateProfile(stealth);
    EXPECT_TRUE(check.ok) << check.line << ": " << check.reason;
}

TEST(ProfileValidator, RefusesDirectivesThatRunLoadReadOrWrite)
{
    const std::vector<std::string> refused = {
        "plugin /tmp/evil.so",
        "up /tmp/x.sh",
        "down /tmp/x.sh",
        "route-pre-down /tmp/x.sh",
        "route-up /tmp/x.sh",
        "route-up \"/bin/ip route del 127.0.0.1\" extra",
        "route-up \"/bin/ip route del 127.0.0.2\"",
        "ipchange /tmp/x",
        "tls-verify /tmp/x",
        "auth-user-pass-verify /tmp/x via-env",
        "client-connect /tmp/x",
        "learn-address /tmp/x",
        "setenv PATH /tmp",
        "config /tmp/other.conf",
        "log /etc/passwd",
        "log-append /etc/shadow",
        "writepid /etc/passwd",
        "status /etc/passwd",
        "cd /etc",
        "chroot /tmp",
        "daemon",
        "tmp-dir /tmp",
        "script-security 3",
        "management 127.0.0.1 7505",
        "management-hold",
        "auth-user-pass /etc/shadow",
        "ca /etc/shadow",
        "cert /root/c.pem",
        "key /root/k.pem",
        "tls-auth /root/ta.key 1",
        "secret /root/static.key",
        "dh /root/dh.pem",
        "crl-verify /root/crl.pem",
        "pkcs12 /root/p.p12",
        "extra-certs /root/x.pem",
        "--plugin /tmp/evil.so",
        "\"plugin\" /tmp/evil.so",
        "plug\\in /tmp/evil.so",
        "engine dynamic",
        "providers legacy",
        "http-proxy 192.0.2.1 8080 /etc/shadow",
        "dev tun0;id",
        "dev -tun0",
        "proto tcp-server",
        "remote 192.0.2.1 1194 tcp-server",
        "auth-user-pass #/etc/shadow",
        "remote 192.0.2.1 1194 \"udp",
        "<connection>\nremote 192.0.2.1\n</connection>",
        "<ca>\nMIIB\n",
        "<ca>\n<plugin>\n</ca>",
        "<auth-user-pass>\nuser\npass\n</auth-user-pass>",
        "remote " + std::string(300, 'a'),
        std::string("dev tun\0plugin /x", 17),
    };
    for (const std::string& line : refused) {
        const std::string profile = std::string(kGoodProfile) + line + "\n";
        EXPECT_FALSE(validateProfile(profile).ok) << line;
    }
}

TEST(ProfileValidator, AcceptsWhatServiceTemplatesCarry)
{
    const std::string profile = std::string(kGoodProfile) +
                                "auth-nocache\r\n"
                                "reneg-sec 0\r\n"
                                "setenv CLIENT_CERT 0\r\n"
                                "comp-lzo no\r\n"
                                "pull-filter ignore \"dhcp-option DNS\"\r\n"
                                "mssfix 1450\r\n"
                                "fragment 1300\r\n"
                                "setenv opt block-outside-dns\r\n"
                                "setenv opt tls-version-min 1.2 or-highest\r\n"
                                "<tls-crypt>\r\n6acef03f62675b4b\r\n</tls-crypt>\r\n";
    const ProfileCheck check = validateProfile(profile);
    EXPECT_TRUE(check.ok) << check.line << ": " << check.reason;
    const ProfileCheck tlsClient = validateProfile("tls-client\npull\nremote 192.0.2.10 1194\n");
    EXPECT_TRUE(tlsClient.ok) << tlsClient.reason;
}

TEST(ProfileValidator, OnlyATlsClientThatConnectsOut)
{
    // Each of these would have root openvpn wait for packets from anyone.
    for (const std::string line :
         {"lport 1194", "local 192.0.2.1", "<secret>\n6acef03f62675b4b\n</secret>", "secret /root/static.key",
          "setenv opt lport 1194", "setenv opt plugin /tmp/evil.so", "setenv opt up /tmp/x.sh",
          "setenv CLIENT_CERT 1", "setenv opt", "setenv opt setenv PATH /tmp"}) {
        const ProfileCheck check = validateProfile(std::string(kGoodProfile) + line + "\n");
        EXPECT_FALSE(check.ok) << line;
    }
    for (const char* profile :
         {"dev tun\nremote 192.0.2.10 1194\n<ca>\nMIIB\n</ca>\n", "tls-client\nremote 192.0.2.10 1194\n",
          "pull\nremote 192.0.2.10 1194\n", "client\ndev tun\n", "client\nsetenv opt remote 192.0.2.10\n"}) {
        const ProfileCheck check = validateProfile(profile);
        EXPECT_FALSE(check.ok) << profile;
        EXPECT_FALSE(check.reason.empty());
    }
}

TEST(ProfileValidator, QuotesSplitWordsAsOpenvpnDoes)
{
    // OpenVPN ends a word at a closing quote and keeps a quote inside a bare
    // word: where that would make it read other words than we do, refuse.
    for (const std::string line :
         {"\"dh\"cp-option DNS 203.0.113.53", "'key'-direction 1", "remote 192.0.2.1\"1194 udp\"",
          "remote 192.0.2.1 '1194'udp", "dev tu\"n\"", "\"dhcp-option\"#x DNS 203.0.113.53"}) {
        EXPECT_FALSE(validateProfile(std::string(kGoodProfile) + line + "\n").ok) << line;
    }
    for (const std::string line :
         {"remote \"192.0.2.1\" '1194' udp", "dhcp-option DNS \"203.0.113.53\"",
          "verify-x509-name \"C=US, CN=vpn\\\" x\" subject", "\"remote\"\t192.0.2.1"}) {
        const ProfileCheck check = validateProfile(std::string(kGoodProfile) + line + "\n");
        EXPECT_TRUE(check.ok) << line << ": " << check.reason;
    }
}

TEST(ProfileValidator, ReportsTheRefusedLine)
{
    const ProfileCheck check = validateProfile("client\ndev tun\nplugin /x.so\n");
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.line, 3);
    EXPECT_NE(check.reason.find("plugin"), std::string::npos);
}
