// The pool that keeps returned texts alive.
#include "songmeta/text_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(TextPool, EachTextIsHeldOnceAndGivenBackAsItWas) {
    songmeta::TextPool pool;
    EXPECT_EQ(pool.hold(""), nullptr);
    // More texts than the pool remembers as recent, asked for in turns, so that texts
    // sharing a place among the recent ones follow each other.
    std::vector<std::string> texts;
    for (int i = 0; i < 10000; ++i) texts.push_back("Artist " + std::to_string(i));
    std::vector<const char*> held;
    for (const std::string& text : texts) held.push_back(pool.hold(text));
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::size_t at = round == 0 ? i : texts.size() - 1 - i;
            ASSERT_EQ(pool.hold(texts[at]), held[at]) << texts[at];
            ASSERT_STREQ(held[at], texts[at].c_str());
        }
    }
    EXPECT_EQ(std::set<const char*>(held.begin(), held.end()).size(), texts.size());
}
