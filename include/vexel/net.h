// Vexel — networking: numbered non-blocking IPv4 sockets and a plain HTTP/1.0 fetch.
// A socket is a number 0..1023 (a new one takes the lowest free number). Addresses are 32-bit
// integers in host order (127.0.0.1 is 0x7F000001); ports are 0..65535 (others are refused
// with last error 10022). Every socket command leaves its outcome in socket_last_error(): 0 for
// success, 8 when all 1024 numbers are in use, 10093 before socket_init, and otherwise the
// classic socket error numbers: 10035 would block, 10036 in progress (and a connect time-out),
// 10038 not a socket, 10048 address in use, 10053 connection aborted, 10054 reset, 10057 not
// connected, 10060 timed out, 10061 refused, 10065 host unreachable, 11001 host not found, ...
// Sends never raise a broken-pipe signal. Use the layer from one thread at a time.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// The socket layer
//------------------------------------------------------------------------------------------------

// 1. Counted: the first call clears the table and lets the process open the descriptors 1024
// sockets need next to the game's own files.
int32_t socket_init();
// One socket_init undone: the count left; the last one closes every socket and returns the last
// error. Nothing (0) when the layer is not initialised.
int32_t socket_shutdown();
int32_t socket_last_error();    // the code of the last socket operation, as listed above
DynString socket_error_text();  // "%d %s": that code and the system's words for the error

//------------------------------------------------------------------------------------------------
// TCP
//------------------------------------------------------------------------------------------------

// A listener on every local address (backlog 10), or -1. Port 0 takes a free port, which
// socket_remote_port then tells.
int32_t tcp_listen(int32_t port);
// A connection waiting on the listener as a new socket, its peer's address in peer_address; -1
// with 10035 when none is waiting, -1 with last error 0 on a UDP socket.
int32_t tcp_accept(int32_t listener, int32_t& peer_address);
// A connected socket, or -1. Waits at most timeout_ms (30000 when <= 0 or above 30000); a
// time-out gives 10036, a refused connection 10061.
int32_t tcp_connect(const DynString& host, int32_t port, int32_t timeout_ms);
// Sends the whole text, waiting while the peer drains: its length, 0 for an empty text, -1 on
// failure (10053 or 10054 when the peer has gone).
int32_t tcp_send(int32_t socket, const DynString& text);

//------------------------------------------------------------------------------------------------
// UDP
//------------------------------------------------------------------------------------------------

// A UDP socket that may broadcast, bound to the port (port 0: unbound, yet it can send), or -1.
int32_t udp_open(int32_t port);
// One datagram of the text to the address and port: its length, or -1 (also for address 0 with
// port 0).
int32_t udp_send(int32_t socket, const DynString& text, int32_t address, int32_t port);

//------------------------------------------------------------------------------------------------
// Any socket
//------------------------------------------------------------------------------------------------

// One receive of at most max_length bytes (at most 16 MiB) into text: the count; 0 when the peer
// closed or reset the connection; -2 (10035) when nothing has arrived yet; -1 on other errors.
// The text is empty unless the count is positive. A UDP socket's remote address and port become
// the sender's.
int32_t socket_receive(int32_t socket, DynString& text, int32_t max_length);
int32_t socket_close(int32_t socket);  // 1 when closed, 0 when not (not a socket: 10038)
// flag != 0 blocking, 0 non-blocking (new sockets are non-blocking); returns the last error
int32_t socket_set_blocking(int32_t socket, int32_t flag);
// TCP: the peer's (a listener: the bound) address; UDP: the last sender's. 0 for a free number.
int32_t socket_remote_ip(int32_t socket);
int32_t socket_remote_port(int32_t socket);  // the port of that address; 0 for a free number

//------------------------------------------------------------------------------------------------
// Addresses
//------------------------------------------------------------------------------------------------

// A name or dotted address as an IPv4 address, or -1. An empty name gives the first address of
// local_ip_list (or 127.0.0.1).
int32_t resolve_host(const DynString& host);
DynString ip_to_text(int32_t address);  // "%d.%d.%d.%d", most significant byte first
// The IPv4 addresses of the network interfaces that are up, in their order, "127.0.0.1" last,
// separated by "|" (at most 2047 characters); empty when there is none. Read from the
// interfaces themselves: on Linux the host name usually resolves to 127.0.1.1 only, which tells
// a peer nothing.
DynString local_ip_list();

//------------------------------------------------------------------------------------------------
// Web fetch
//------------------------------------------------------------------------------------------------
// One HTTP/1.0 GET of path (e.g. "/index.html") from host; port 0 means 80; timeout_ms bounds
// the connect as for tcp_connect. The response header is skipped and its status is not looked
// at (a 404 page is a body like any other). The fetch ends when the server closes the
// connection, and fails when 30 s pass without a byte.

// 1 when the body is in the file (created anew; an empty directory of that name is removed),
// else 0, with the bytes that arrived before the failure left in it. "mem://" names give 0 at
// once.
int32_t web_fetch_to_file(const DynString& host, const DynString& path, int32_t port,
                          const DynString& file, int32_t timeout_ms);
// The first max_length bytes of the body, cut at its first zero byte; empty on failure.
DynString web_fetch_to_text(const DynString& host, const DynString& path, int32_t port,
                            int32_t max_length, int32_t timeout_ms);

}  // namespace vexel
