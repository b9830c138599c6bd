#include <gtest/gtest.h>

#include <string>

#include "net/http_header.h"

namespace vexel::net {
namespace {

// The body as the scan finds it when the response arrives in pieces of the given size.
std::string body_in_pieces(const std::string& response, size_t piece) {
    HeaderScan scan;
    std::string body;
    for (size_t at = 0; at < response.size(); at += piece) {
        const size_t count = std::min(piece, response.size() - at);
        const size_t header = header_bytes(scan, response.data() + at, count);
        body.append(response, at + header, count - header);
    }
    return body;
}

TEST(HttpHeader, TheBodyStartsAfterTheFirstBlankLineHoweverTheBytesArrive) {
    const struct {
        std::string response;
        std::string body;
    } cases[] = {
        {"HTTP/1.0 200 OK\r\nServer: x\r\n\r\nbody\r\n\r\nmore", "body\r\n\r\nmore"},
        {"HTTP/1.0 200 OK\nServer: x\n\nbare", "bare"},
        {"HTTP/1.0 200 OK\r\n\r\n", ""},
        {"HTTP/1.0 404 Not Found\r\n\r\nmissing", "missing"},
        {"A\r\r\r\n\r\r\nX", "X"},      // carriage returns never count
        {"A\r\n \r\nB\r\n\r\nC", "C"},  // a line of one blank is not blank
        {"\n\nat once", "at once"},
        {"no blank line\r\nat all\r\n", ""},
        {std::string("z\0\n\n\0", 5), std::string("\0", 1)},
    };
    for (const auto& c : cases) {
        for (size_t piece = 1; piece <= c.response.size(); ++piece) {
            EXPECT_EQ(body_in_pieces(c.response, piece), c.body)
                << "response " << c.response << ", pieces of " << piece;
        }
    }
}

TEST(HttpHeader, ABlankLineSplitBetweenTwoPiecesIsFound) {
    HeaderScan scan;
    EXPECT_EQ(header_bytes(scan, "HTTP/1.0 200 OK\r\n\r", 18), 18u);
    EXPECT_FALSE(scan.ended);
    EXPECT_EQ(header_bytes(scan, "\nbody", 5), 1u);
    EXPECT_TRUE(scan.ended);
    EXPECT_EQ(header_bytes(scan, "\n\n", 2), 0u);
}

}  // namespace
}  // namespace vexel::net
