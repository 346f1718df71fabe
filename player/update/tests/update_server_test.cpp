#include "player/update/update_server.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateServer, ListAndFileAddresses) {
    EXPECT_EQ(update_server::listUrl("http://host"), "http://host/programs/updates/update.upd");
    EXPECT_EQ(update_server::listUrl("https://host:8443/"),
              "https://host:8443/programs/updates/update.upd");
    EXPECT_EQ(update_server::fileUrl("http://host", "a-b_c.~1"),
              "http://host/programs/updates/a-b_c.~1");
    EXPECT_EQ(update_server::fileUrl("http://host", "a b?#%.txt"),
              "http://host/programs/updates/a%20b%3F%23%25.txt");
    EXPECT_EQ(update_server::fileUrl("http://host", "Я"), "http://host/programs/updates/%D0%AF");
}

}  // namespace
