// Internal: SocketTable, the 1024 numbered entries behind the script's socket numbers, and the
// receive modes that the socket commands, the web fetch and the multi-player layer share.
//
// The table is used from one thread at a time: the script's, or the multi-player worker while it
// holds its own lock. Only the last error is safe to read from anywhere.
#pragma once

#include <netinet/in.h>

#include <array>
#include <cstdint>

namespace vexel::net {

inline constexpr int32_t kSocketCount = 1024;
inline constexpr int32_t kNoData = -2;  // a receive result: nothing has arrived yet

struct SocketEntry {
    int handle = -1;        // the system descriptor; -1 marks a free entry
    sockaddr_in address{};  // TCP: the peer or the bound address; UDP: the last sender
    bool is_udp = false;
};

class SocketTable {
public:
    // The first call clears the table and raises the open-file limit; later calls only count.
    void init();
    // One init undone; the last one closes every entry. Nothing when not initialised.
    void shutdown();
    bool initialised() const { return init_count_ > 0; }
    int32_t init_count() const { return init_count_; }

    // The lowest free index, or -1 with last error 8 (or 10093 before init).
    int32_t free_index();
    // The entry of a socket number in use, or null with last error 10038 (10093 before init).
    SocketEntry* used(int32_t socket);
    // The entry of a socket number in 0..1023 whether in use or not, else null.
    SocketEntry* any(int32_t socket);

    // Linger off, both directions shut, the descriptor closed, the entry free. True when the
    // close succeeded; last error records its outcome.
    bool close_entry(SocketEntry& entry);

private:
    std::array<SocketEntry, kSocketCount> entries_{};
    int32_t init_count_ = 0;
};

SocketTable& socket_table();

// Raises the soft limit of open files towards the hard limit so that every entry fits next to
// the descriptors the game already has (the usual soft limit is 1024 for everything).
void raise_open_file_limit();

// One receive of at most size bytes into buffer: the count; 0 when the peer closed or reset the
// connection; kNoData when nothing has arrived; -1 on other errors. A UDP entry's address
// becomes the sender's.
int32_t receive_once(int32_t socket, char* buffer, int32_t size);
// Receives exactly size bytes, waiting for the rest once the first byte has come: size; 0 on
// close or reset; -1 on other errors; kNoData only when nothing at all had arrived.
int32_t receive_exactly(int32_t socket, char* buffer, int32_t size);

// Waits until the descriptor is readable (POLLIN) or writable (POLLOUT), at most timeout_ms
// (negative: no limit). True when it is, or has an error to report; false on time-out.
bool wait_for(int handle, short events, int timeout_ms);

}  // namespace vexel::net
