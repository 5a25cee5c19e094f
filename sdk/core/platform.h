// What differs between platforms, kept in one place: sockets, readiness waits and sleeping.
// Nothing else in the SDK includes socket headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace camlink::platform {

// A socket descriptor; kNoSocket when closed (descriptor 0 is a valid descriptor here).
using Socket = int;
constexpr Socket kNoSocket = -1;

// An IPv4 TCP socket; kNoSocket on failure, after printing the system's error text for
// "socket" to standard error.
Socket openTcpSocket();
// Blocking connect with the system's own connect time-out.
bool connectTo(Socket socket, const std::string& address, uint16_t port);
bool makeNonBlocking(Socket socket);
void closeSocket(Socket& socket);

enum class WaitResult { Ready, TimedOut, Failed };
// Waits until the socket is writable / readable, retrying when interrupted.
WaitResult waitWritable(Socket socket, int milliseconds);
WaitResult waitReadable(Socket socket, int milliseconds);

// One send / receive call; the count, or -1 on error (0 from receive: the peer closed).
long sendSome(Socket socket, const void* data, size_t size);
long receiveSome(Socket socket, void* data, size_t size);

// Sends all bytes within `milliseconds` in all: Ready when done, TimedOut when the socket
// never became writable in time, Failed on a send error.
WaitResult sendAll(Socket socket, const void* data, size_t size, int milliseconds);
// Receives exactly `size` bytes within `milliseconds` in all; Failed also when the peer closes.
WaitResult receiveAll(Socket socket, void* data, size_t size, int milliseconds);

void sleepMilliseconds(int milliseconds);

}  // namespace camlink::platform
