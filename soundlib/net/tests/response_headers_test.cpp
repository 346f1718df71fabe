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

TEST(ResponseHeadersTest, TheStationsLinesComeFirstInTheBlock) {
    // A streaming server's usual reply: a few hundred bytes of other headers first.
    const std::vector<std::string> others = {
        "Server: Icecast 2.4.4",
        "Content-Type: audio/mpeg",
        "Cache-Control: no-cache, no-store",
        "Expires: Mon, 26 Jul 1997 05:00:00 GMT",
        "Pragma: no-cache",
        "Access-Control-Allow-Origin: *",
        "Access-Control-Allow-Headers: Origin, Accept, X-Requested-With, Content-Type, "
        "Icy-MetaData",
        "Access-Control-Allow-Methods: GET, OPTIONS, SOURCE, PUT, HEAD, STATS"};
    const std::string names = "Access-Control-Expose-Headers: icy-br, icy-name, icy-url";
    const std::vector<std::string> station = {"icy-br:128", "ICY-Name: Radio", "icy-url:http://r/"};
    ResponseHeaders headers;
    std::vector<std::string> arrived = {"HTTP/1.0 200 OK"};
    arrived.insert(arrived.end(), others.begin(), others.end());
    arrived.insert(arrived.end(), {station[0], names, station[1], "X-Other: 1", station[2]});
    for (const std::string& line : arrived) ASSERT_TRUE(headers.addLine(line + "\r\n"));
    ASSERT_TRUE(headers.addLine("\r\n"));

    std::string expected = "HTTP/1.0 200 OK"s + '\0' + names + '\0';
    for (const std::string& line : station) expected += line + '\0';
    for (const std::string& line : others) expected += line + '\0';
    expected += "X-Other: 1"s + '\0' + '\0';
    EXPECT_EQ(headers.tagBlock(), expected);
    EXPECT_EQ(headers.lines(), arrived);  // the lines themselves stay as they arrived
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
