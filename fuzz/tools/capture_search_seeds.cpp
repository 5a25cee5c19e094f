// Writes the search target's seeds: the replies camsim's search responder broadcasts to both
// generations' requests. Broadcasts, so it runs only under scripts/netns-run:
//   scripts/netns-run build-fuzz/fuzz/capture_search_seeds fuzz/corpus/search_reply_fuzzer
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "search/search_responder.h"
#include "support/private_namespace.h"

namespace {

using Datagram = std::vector<uint8_t>;

// The SDK's requests, byte for byte.
Datagram firstRequest() {
    const std::string text =
        "<MESSAGE VERSION=\"1\">\n\t<HEADER TYPE=\"4117\" />\n\t<DeviceID />\n</MESSAGE>\n";
    Datagram d = {0x00, 0x00, 0x01, 0xCA, static_cast<uint8_t>(text.size()), 0, 0, 0};
    d.insert(d.end(), text.begin(), text.end());
    return d;
}

Datagram secondRequest() {
    Datagram d(114, 0);
    std::memcpy(d.data(), "searching..", 12);
    d[12] = 10;
    std::memcpy(d.data() + 16, "Fuck_Ip", 7);
    std::memcpy(d.data() + 32, "Fuck_Mac", 8);
    return d;
}

std::vector<camsim::SearchIdentity> cameras() {
    camsim::SearchIdentity plain;
    plain.address = "10.231.0.21";
    plain.serialNo = "4A3F00C1D2E3F405";
    plain.firmware = "QX-IPC2019-01B-V1.2.1-RECOG-beta.pb3";
    plain.deviceType = "IPC-FR200";
    plain.mac = "02:00:0A:E7:00:15";
    camsim::SearchIdentity other = plain;
    other.address = "10.231.0.22";
    other.serialNo = "KEY-B";
    other.firmware = "QX-IPC2018-V0.9";
    other.httpPort = 65535;
    other.privatePort = 1;
    // Texts that need escaping, cutting and UTF-8 care.
    camsim::SearchIdentity odd = plain;
    odd.address = "10.231.0.23";
    odd.serialNo = std::string(40, 'K') + "\xC3\xA9<&>\"'";
    odd.firmware = std::string(70, 'F') + "-RECOG";
    odd.deviceType = "Cam\xE2\x82\xAC & <Co>";
    odd.mac = "";
    return {plain, other, odd};
}

int openSocket(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) return -1;
    return fd;
}

// Every datagram other than the request heard within a second.
std::vector<Datagram> search(uint16_t port, const Datagram& request) {
    std::vector<Datagram> replies;
    const int fd = openSocket(port);
    if (fd < 0) return replies;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    ::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to),
             sizeof to);
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, 1000) > 0) {
        Datagram buffer(4096);
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n < 0) break;
        buffer.resize(static_cast<size_t>(n));
        if (buffer != request) replies.push_back(buffer);
    }
    ::close(fd);
    return replies;
}

int write(const std::string& folder, const char* prefix, const std::vector<Datagram>& replies) {
    int n = 0;
    for (const Datagram& d : replies) {
        const std::string path = folder + "/" + prefix + std::to_string(++n);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(d.data()), static_cast<std::streamsize>(d.size()));
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (argc != 2) {
        std::fprintf(stderr, "usage: capture_search_seeds FOLDER (under scripts/netns-run)\n");
        return 2;
    }
    if (!testsupport::inPrivateNamespace(&why)) {
        std::fprintf(stderr, "refusing to broadcast outside a private namespace: %s\n",
                     why.c_str());
        return 1;
    }
    camsim::SearchResponder responder(&cameras);
    if (!responder.start(&why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    const int first = write(argv[1], "xml-reply-", search(10000, firstRequest()));
    const int second = write(argv[1], "binary-reply-", search(6789, secondRequest()));
    std::printf("%d first-generation and %d second-generation replies\n", first, second);
    return first > 0 && second > 0 ? 0 : 1;
}
