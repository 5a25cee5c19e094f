// What differs between platforms, kept in one place: sockets, readiness waits and sleeping.
// Nothing else in the SDK includes socket headers.
#pragma once

#include <chrono>
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
bool makeNonBlocking(Socket socket);
// Switches the socket to non-blocking mode and connects within `milliseconds`: a peer that
// drops connection attempts costs that long, not the system's two-minute connect time-out.
bool connectWithin(Socket socket, const std::string& address, uint16_t port, int milliseconds);
void closeSocket(Socket& socket);

enum class WaitResult { Ready, TimedOut, Failed };
// Waits until the socket is writable / readable, retrying when interrupted.
WaitResult waitWritable(Socket socket, int milliseconds);
WaitResult waitReadable(Socket socket, int milliseconds);

// One send / receive call; the count, or -1 on error (0 from receive: the peer closed).
long sendSome(Socket socket, const void* data, size_t size);
long receiveSome(Socket socket, void* data, size_t size);

// The moment by which a whole exchange must be done.
using Deadline = std::chrono::steady_clock::time_point;
Deadline deadlineIn(int milliseconds);

// Sends all bytes by the deadline: Ready when done, TimedOut when the socket did not take them
// in time, Failed on a send error.
WaitResult sendAll(Socket socket, const void* data, size_t size, Deadline deadline);
// Receives exactly `size` bytes by the deadline; Failed also when the peer closes.
WaitResult receiveAll(Socket socket, void* data, size_t size, Deadline deadline);

void sleepMilliseconds(int milliseconds);

}  // namespace camlink::platform
