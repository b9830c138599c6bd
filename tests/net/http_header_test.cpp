#include <gtest/gtest.h>

#include <string>

#include "net/http_header.h"

namespace vexel::net {
namespace {

TEST(HttpHeader, TheBodyStartsAfterTheFirstBlankLineHoweverTheBytesArrive) {
    const std::string cases[][2] = {
        {"HTTP/1.0 200 OK\r\nServer: x\r\n\r\nbody\r\n\r\nmore", "body\r\n\r\nmore"},
        {"HTTP/1.0 200 OK\nServer: x\n\nbare", "bare"},
        {"HTTP/1.0 200 OK\r\n\r\n", ""},
        {"A\r\r\r\n\r\r\nX", "X"},      // carriage returns never count
        {"A\r\n \r\nB\r\n\r\nC", "C"},  // a line of one blank is not blank
        {"no blank line\r\nat all\r\n", ""},
        {std::string("z\0\n\n\0", 5), std::string("\0", 1)},
    };
    for (const auto& [response, expected] : cases) {
        for (size_t piece = 1; piece <= response.size(); ++piece) {
            HeaderScan scan;
            std::string body;
            for (size_t at = 0; at < response.size(); at += piece) {
                const size_t count = std::min(piece, response.size() - at);
                const size_t header = header_bytes(scan, &response[at], count);
                body.append(response, at + header, count - header);
            }
            EXPECT_EQ(body, expected) << response << " in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace vexel::net
