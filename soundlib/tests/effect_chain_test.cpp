#include <gtest/gtest.h>

#include <vector>

#include "soundlib/effect_chain.h"

namespace {

// Multiplies by a factor and records what the chain told it.
class ScaleEffect : public soundlib::ChannelEffect {
public:
    ScaleEffect(float factor, std::vector<double>* rates, int* resets)
        : factor_(factor), rates_(rates), resets_(resets) {}
    bool setParameters(const void* record) override {
        factor_ = *static_cast<const float*>(record);
        return true;
    }
    void getParameters(void* record) const override { *static_cast<float*>(record) = factor_; }
    void setSampleRate(double hz) override { rates_->push_back(hz); }
    void process(float* samples, std::size_t frames) override {
        for (std::size_t i = 0; i < frames * 2; ++i) samples[i] = samples[i] * factor_ + 1;
    }
    void reset() override { ++*resets_; }

private:
    float factor_;
    std::vector<double>* rates_;
    int* resets_;
};

}  // namespace

TEST(EffectChain, RunsEffectsInAttachOrderAndPassesRateAndReset) {
    soundlib::EffectChain chain;
    std::vector<double> rates;
    int resets = 0;
    chain.setSampleRate(22050);
    const auto first = chain.add(std::make_unique<ScaleEffect>(2.f, &rates, &resets));
    const auto second = chain.add(std::make_unique<ScaleEffect>(10.f, &rates, &resets));
    ASSERT_NE(first, 0u);
    ASSERT_NE(first, second);
    EXPECT_EQ(rates, (std::vector<double>{22050, 22050}));

    float samples[2] = {1, 2};
    chain.process(samples, 1);
    EXPECT_FLOAT_EQ(samples[0], (1 * 2 + 1) * 10 + 1);  // first, then second
    EXPECT_FLOAT_EQ(samples[1], (2 * 2 + 1) * 10 + 1);

    const float half = 0.5f;
    EXPECT_TRUE(
        chain.withEffect(second, [&](soundlib::ChannelEffect& e) { e.setParameters(&half); }));
    chain.setSampleRate(48000);
    chain.reset();
    EXPECT_EQ(rates.back(), 48000);
    EXPECT_EQ(resets, 2);

    EXPECT_TRUE(chain.remove(first));
    EXPECT_FALSE(chain.remove(first));
    EXPECT_FALSE(chain.withEffect(first, [](soundlib::ChannelEffect&) {}));
    samples[0] = 4;
    chain.process(samples, 1);
    EXPECT_FLOAT_EQ(samples[0], 4 * 0.5f + 1);
    EXPECT_TRUE(chain.remove(second));
    EXPECT_TRUE(chain.empty());
}
