// The pool that keeps returned texts alive.
#include "songmeta/text_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(TextPool, EachTextIsHeldOnceAndGivenBackAsItWas) {
    songmeta::TextPool pool;
    // More texts than the pool remembers as recent, held together, then one by one in turns,
    // so that texts sharing a place among the recent ones follow each other.
    std::vector<std::string> texts{""};
    for (int i = 0; i < 10000; ++i) texts.push_back("Artist " + std::to_string(i));
    std::vector<const char*> held(texts.size());
    pool.hold(texts, held.data());
    EXPECT_EQ(held[0], nullptr);
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 1; i < texts.size(); ++i) {
            const std::size_t at = round == 0 ? i : texts.size() - i;
            const char* again = nullptr;
            pool.hold({&texts[at], 1}, &again);
            ASSERT_EQ(again, held[at]) << texts[at];
            ASSERT_STREQ(held[at], texts[at].c_str());
        }
    }
    EXPECT_EQ(std::set<const char*>(held.begin() + 1, held.end()).size(), texts.size() - 1);
}
