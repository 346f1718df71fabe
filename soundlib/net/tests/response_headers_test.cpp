#include "soundlib/net/response_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace soundlib::net {
namespace {

using namespace std::string_literals;

TEST(ResponseHeadersTest, KeepsTheFinalBlockAsArrived) {
    ResponseHeaders headers;
    for (const char* line : {"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n", "ICY 200 OK\r\n",
                             "icy-name: Radio \xD0\xE0\xE4\xE8\xEE\r\n", "icy-url:http://r/\r\n",
                             "icy-metaint:8192\n", "\r\n", "X-Trailer: ignored\r\n"}) {
        ASSERT_TRUE(headers.addLine(line));
    }
    EXPECT_TRUE(headers.complete());
    EXPECT_EQ(headers.status(), 200);
    const std::vector<std::string> expected = {"ICY 200 OK", "icy-name: Radio Радио",
                                               "icy-url:http://r/", "icy-metaint:8192"};
    EXPECT_EQ(headers.lines(), expected);
    EXPECT_EQ(headers.value("ICY-METAINT"), "8192");
    EXPECT_EQ(headers.value("icy-name"), "Radio Радио");
    EXPECT_FALSE(headers.value("Location"));
    EXPECT_EQ(headers.tagBlock(),
              "ICY 200 OK\0icy-name: Radio Радио\0icy-url:http://r/\0icy-metaint:8192\0\0"s);
}

TEST(ResponseHeadersTest, StatusCodes) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"HTTP/1.0 200 OK", 200}, {"HTTP/1.1 404 Not Found", 404},
        {"ICY 200 OK", 200},      {"HTTP/2 206", 206},
        {"HTTP/1.1 abc", 0},      {"HTTP/1.1", 0}};
    for (const auto& [line, code] : cases) {
        ResponseHeaders headers;
        headers.addLine(line + "\r\n");
        EXPECT_EQ(headers.status(), code) << line;
    }
}

TEST(ResponseHeadersTest, RefusesBlocksPastTheCaps) {
    ResponseHeaders bytes;
    bytes.addLine("HTTP/1.0 200 OK\r\n");
    EXPECT_FALSE(bytes.addLine("X: " + std::string(ResponseHeaders::kMaxBytes, 'x') + "\r\n"));

    ResponseHeaders lines;
    bool accepted = true;
    for (std::size_t i = 0; i <= ResponseHeaders::kMaxLines && accepted; ++i) {
        accepted = lines.addLine(i == 0 ? "HTTP/1.0 200 OK\r\n" : "X: y\r\n");
    }
    EXPECT_FALSE(accepted);
}

}  // namespace
}  // namespace soundlib::net
