// The equalizer, the channel effects with their window, the sample effects and the speed,
// driven through the main window's controls while the real audio object plays sine-wave
// files, rendered by the sound library's offline mixer.
#include <gtest/gtest.h>

#include <QAction>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <cstring>
#include <vector>

#include "player/engine/audio_object.h"
#include "player/ui/effect_parameters.h"
#include "player/ui/effects_window.h"
#include "player/ui/equalizer_presets.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"
#include "soundlib/soundlib_fx.h"
#include "testing/temp_dir.h"
#include "testing/wav_fixture.h"

namespace {

constexpr int kRate = 44100;
const QString kUserCaption = QString::fromUtf8("Определяется пользователем");

class MainWindowEffects : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(BASS_Init(0, kRate, SOUND_INIT_OFFLINE, nullptr, nullptr));
    }
    static void TearDownTestSuite() { BASS_Free(); }

    testing_support::TempDir dir;
    TForm1 form;
    TAudioObject audio{form, dir / "AllMusik.aml"};

    void SetUp() override {
        AudioObject = &audio;
        form.TrackBar1->setValue(100);  // full volume: the output is the channel's samples
    }
    void TearDown() override {
        audio.DropChannel();
        AudioObject = nullptr;
    }

    std::filesystem::path sine(const char* name, double seconds, double frequency,
                               unsigned rate = kRate) {
        const auto file = dir / name;
        writeSineWav(file, seconds, frequency, rate);
        return file;
    }
    void play(const std::filesystem::path& file) {
        audio.PlaySource(QString::fromStdString(file.string()));
        ASSERT_NE(audio.Channel, 0u);
    }
    static std::vector<std::int16_t> render(std::size_t frames) {
        std::vector<std::int16_t> out(frames * 2);
        EXPECT_EQ(BASS_Render(out.data(), static_cast<std::uint32_t>(frames)),
                  static_cast<std::int32_t>(frames));
        return out;
    }
    // The level of the left side over `frames` frames after skipping `settle` frames.
    static double rms(std::size_t settle, std::size_t frames) {
        render(settle);
        const auto out = render(frames);
        double sum = 0;
        for (std::size_t i = 0; i < frames; ++i) sum += double(out[2 * i]) * out[2 * i];
        return std::sqrt(sum / frames);
    }
    void clickLink(QLabel* link) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2),
                            link->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(link, &release);
    }
    static SoundFxParamEq band(std::uint32_t handle) {
        SoundFxParamEq p{};
        EXPECT_TRUE(BASS_FXGetParameters(handle, &p));
        return p;
    }
};

TEST_F(MainWindowEffects, EveryPresetMovesTheSlidersAndPushesItsGains) {
    play(sine("a.wav", 1, 440));
    form.TrackBar11->setValue(10);  // the depth stays until the default preset sets 19
    form.CheckBox1->setChecked(true);
    const auto bands = form.Bands();
    const QList<QAction*> items = form.PopupMenu3->actions();
    ASSERT_EQ(items.size(), 22);
    for (int index = 0; index < 22; ++index) {
        SCOPED_TRACE(index);
        items[index]->trigger();
        const bool user = index == equalizer::kUserPreset;
        const auto& row = equalizer::kPresets[user ? equalizer::kDefaultPreset : index];
        EXPECT_EQ(form.Label37->text(), items[index]->text());
        const float bandwidth = index >= equalizer::kDefaultPreset ? 18 : 27;
        for (int b = 0; b < 9; ++b) {
            EXPECT_EQ(bands[b]->value(), -row.gains[b]);
            const SoundFxParamEq p = band(form.EqualizerFX[b]);
            EXPECT_EQ(p.centre, equalizer::kBandCentres[b]);
            EXPECT_EQ(p.bandwidth, bandwidth);
            EXPECT_EQ(p.gain, static_cast<float>(row.gains[b]));
        }
    }
    const QStringList captions = {"Танцевальный",  "Фолк",
                                  "Джаз",          "Металл",
                                  "Рэп",           "Рок",
                                  "Техно",         "Гранж",
                                  "Ньюэйдж",       "Классика",
                                  "Неэлектронная", "Кантри",
                                  "Регги",         "Ретро",
                                  "Блюз",          "Опера",
                                  "Речь",          "Свинг",
                                  "Музыка 56k",    "Музыка 28k",
                                  "По умолчанию",  "Определяется пользователем"};
    for (int i = 0; i < 22; ++i) EXPECT_EQ(items[i]->text(), captions[i]);
    EXPECT_EQ(equalizer::kPresets[13].gains, equalizer::kPresets[17].gains);
}

TEST_F(MainWindowEffects, PresetGainsAreHeardAtTheBandCentres) {
    struct Case {
        int preset;
        double frequency;
        double decibels;
    };
    // Bands whose neighbours stay at 0 dB, so each is heard alone.
    for (const Case& c : {Case{3, 80, -2}, Case{3, 2000, 3}, Case{18, 8000, -2}}) {
        SCOPED_TRACE(c.frequency);
        const auto file = sine("tone.wav", 1, c.frequency);
        form.CheckBox1->setChecked(false);
        play(file);
        const double dry = rms(8000, 22050);
        form.CheckBox1->setChecked(true);
        form.ApplyEqualizerPreset(c.preset);
        play(file);
        const double wet = rms(8000, 22050);
        EXPECT_NEAR(20 * std::log10(wet / dry), c.decibels, 0.5);
    }
}

TEST_F(MainWindowEffects, DepthHandBandsLinksAndHints) {
    play(sine("a.wav", 1, 440));
    form.CheckBox1->setChecked(true);
    form.ApplyEqualizerPreset(5);
    form.TrackBar11->setValue(19);
    EXPECT_EQ(band(form.EqualizerFX[4]).bandwidth, 18.0f);
    EXPECT_EQ(form.TrackBar11->toolTip(), "18");
    EXPECT_EQ(form.Label37->text(), QString::fromUtf8("Рок")) << "a depth change keeps the name";
    form.TrackBar2->setValue(-15);
    EXPECT_EQ(form.Label37->text(), kUserCaption);
    EXPECT_EQ(form.TrackBar2->toolTip(), "15");
    EXPECT_EQ(band(form.EqualizerFX[0]).gain, 15.0f);

    form.TrackBar11->setValue(3);
    clickLink(form.Label40);
    EXPECT_EQ(form.Label37->text(), QString::fromUtf8("По умолчанию"));
    EXPECT_EQ(form.TrackBar11->value(), 19);
    for (QSlider* b : form.Bands()) EXPECT_EQ(b->value(), 0);

    form.TrackBar3->setValue(4);
    form.ApplyEqualizerPreset(equalizer::kUserPreset);
    EXPECT_EQ(form.TrackBar3->value(), 4) << "the hand-set preset moves nothing";
    form.ApplyEqualizerPreset(-1);
    EXPECT_EQ(form.Label37->text(), kUserCaption) << "no item: named as hand-set";
    EXPECT_EQ(form.TrackBar3->value(), 4);

    form.ApplyEqualizerPreset(9);
    clickLink(form.Label37);
    EXPECT_TRUE(form.PopupMenu3->isVisible());
    EXPECT_TRUE(form.PopupMenu3->actions()[9]->isChecked());
    form.PopupMenu3->close();
}

TEST_F(MainWindowEffects, TheSwitchAttachesNineBandsAndOffIsBitIdentical) {
    // Design-time states: bands and links wait for the switch, the depth not until the
    // switch has run once (every new channel runs it).
    for (QSlider* b : form.Bands()) EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(form.Label37->isEnabled());
    EXPECT_FALSE(form.Label40->isEnabled());
    EXPECT_TRUE(form.TrackBar11->isEnabled());

    const auto file = sine("a.wav", 1, 1000);
    play(file);
    EXPECT_FALSE(form.TrackBar11->isEnabled());
    const auto dry = render(20000);

    form.ApplyEqualizerPreset(0);
    play(file);
    form.CheckBox1->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{form.Label37, form.Label40, form.TrackBar11,
                                                      form.TrackBar2, form.TrackBar10})
        EXPECT_TRUE(w->isEnabled());
    const auto handles = form.EqualizerFX;
    for (std::uint32_t h : handles) EXPECT_NE(h, 0u);
    EXPECT_NE(render(20000), dry);

    form.CheckBox1->setChecked(false);
    SoundFxParamEq p{};
    for (std::uint32_t h : handles) EXPECT_FALSE(BASS_FXGetParameters(h, &p)) << "detached";
    for (QWidget* w : std::initializer_list<QWidget*>{form.Label37, form.Label40, form.TrackBar11,
                                                      form.TrackBar6})
        EXPECT_FALSE(w->isEnabled());
    play(file);
    EXPECT_EQ(render(20000), dry);
}

struct ParameterCase {
    int bar;  // 1 ... 36
    int position;
    const char* text;
    double value;
};

TEST_F(MainWindowEffects, EveryScrollBarPassesAndShowsItsValue) {
    const ParameterCase cases[] = {
        {1, 37, "37", 37},
        {2, 100, "100", 100},
        {3, 0, "-99", -99},
        {3, 99, "0", 0},
        {3, 198, "99", 99},
        {4, 10, "10", 10},
        {5, 0, "0", 0},
        {6, 20, "20", 20},
        {7, 4, "4", 4},
        {8, 0, "-60", -60},
        {8, 120, "60", 60},
        {9, 1, "0.01", 0.01f},
        {9, 1234, "12.34", 12.34f},
        {9, 50000, "500", 500},
        {10, 3000, "3000", 3000},
        {11, 0, "-60", -60},
        {12, 1, "1", 1},
        {13, 4, "4", 4},
        {14, 0, "-60", -60},
        {15, 100, "100", 100},
        {16, 100, "100", 100},
        {17, 8000, "8000", 8000},
        {18, 250, "250", 250},
        {19, 100, "100", 100},
        {20, 50, "50", 50},
        {21, 2000, "2000", 2000},
        {22, 1, "1", 1},
        {23, 1, "1", -1},
        {23, 0, "0", 0},
        {24, 100, "100", 100},
        {25, 0, "0", 0},
        {26, 0, "-99", -99},
        {27, 5, "5", 5},
        {28, 1, "1", 1},
        {29, 4, "4", 4},
        {30, 2, "2", 2},
        {31, 1000, "1000", 1000},
        {32, 1, "1", 1},
        {33, 0, "-96", -96},
        {34, 96, "0", 0},
        {35, 1, "1", 1},
        {36, 999, "0.999", 0.999f},
        {36, 1, "0.001", 0.001f},
    };
    play(sine("a.wav", 2, 440));
    const auto switches = form.EffectSwitches();
    for (QCheckBox* box : switches) box->setChecked(true);
    for (const ParameterCase& c : cases) {
        SCOPED_TRACE(c.bar);
        std::size_t effect = 0, index = static_cast<std::size_t>(c.bar - 1);
        while (index >= effects::kEffectViews[effect].parameters.size())
            index -= effects::kEffectViews[effect++].parameters.size();
        form.Form5->ScrollBars[c.bar - 1]->setValue(c.position);
        EXPECT_EQ(form.Form5->ValueLabels[c.bar - 1]->text(), QString::fromLatin1(c.text));
        effects::Record record{};
        ASSERT_TRUE(BASS_FXGetParameters(form.EffectFX[effect], record.data()));
        if (effects::kEffectViews[effect].parameters[index].kind == effects::ValueKind::Float) {
            float passed;
            std::memcpy(&passed, &record[index], sizeof passed);
            EXPECT_EQ(passed, static_cast<float>(c.value));
        } else {
            EXPECT_EQ(static_cast<std::int32_t>(record[index]), static_cast<std::int32_t>(c.value));
        }
    }
    EXPECT_EQ(effects::ValueText(effects::kCompression[1], 1, QLocale(QLocale::Russian)), "0,01");
}

TEST_F(MainWindowEffects, SwitchesShowTheirTabAndValuesWaitWhileOff) {
    play(sine("a.wav", 2, 440));
    TForm5& window = *form.Form5;
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Настройка эффектов"));
    EXPECT_EQ(window.size(), QSize(377, 328));
    ASSERT_EQ(window.PageControl1->count(), 7);
    for (int tab = 0; tab < 7; ++tab) {
        EXPECT_EQ(window.PageControl1->tabText(tab),
                  QString::fromLatin1(effects::kEffectViews[tab].caption));
        EXPECT_FALSE(window.PageControl1->isTabEnabled(tab));
    }
    EXPECT_EQ(window.ScrollBars.size(), 36u);
    EXPECT_FALSE(window.isVisible());

    // Echo off: moving its feedback bar changes only the label.
    window.ScrollBars[19]->setValue(40);
    EXPECT_EQ(window.ValueLabels[19]->text(), "40");
    SoundFxEcho echo{};
    EXPECT_FALSE(BASS_FXGetParameters(form.EffectFX[3], &echo));

    form.CheckBox8->setChecked(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.PageControl1->currentIndex(), 3);
    EXPECT_TRUE(window.PageControl1->isTabEnabled(3));
    ASSERT_TRUE(BASS_FXGetParameters(form.EffectFX[3], &echo));
    EXPECT_EQ(echo.feedback, 40.0f) << "switching on pushes the current values";
    EXPECT_EQ(echo.leftDelay, 333.0f);

    form.CheckBox8->setChecked(false);
    EXPECT_FALSE(window.PageControl1->isTabEnabled(3));
    EXPECT_TRUE(window.isVisible()) << "the window stays as it is";
    EXPECT_FALSE(BASS_FXGetParameters(form.EffectFX[3], &echo));
}

TEST_F(MainWindowEffects, ANewChannelGetsTheEqualizerTheEffectsAndTheSampleEffects) {
    const auto first = sine("a.wav", 2, 440), second = sine("b.wav", 2, 300);
    play(second);
    const auto dry = render(30000);

    play(first);
    form.CheckBox1->setChecked(true);
    form.ApplyEqualizerPreset(6);
    form.CheckBox5->setChecked(true);
    form.Form5->ScrollBars[0]->setValue(70);
    form.CheckBox3->setChecked(true);
    form.TrackBar1->setValue(80);
    const auto oldBands = form.EqualizerFX;
    const auto oldChorus = form.EffectFX[0];

    play(second);
    EXPECT_TRUE(form.CheckBox3->isChecked());
    EXPECT_NE(form.EqualizerFX[0], oldBands[0]);
    EXPECT_NE(form.EffectFX[0], oldChorus);
    for (int b = 0; b < 9; ++b)
        EXPECT_EQ(band(form.EqualizerFX[b]).gain, float(equalizer::kPresets[6].gains[b]));
    EXPECT_EQ(form.Label37->text(), QString::fromUtf8("Техно"));
    SoundFxChorus chorus{};
    ASSERT_TRUE(BASS_FXGetParameters(form.EffectFX[0], &chorus));
    EXPECT_EQ(chorus.wetDryMix, 70.0f);
    std::uint32_t volume = 0;
    BASS_ChannelGetAttributes(audio.Channel, nullptr, &volume, nullptr);
    EXPECT_EQ(volume, 80u);

    // Everything off again: the new channel sounds as the file does.
    form.CheckBox1->setChecked(false);
    form.CheckBox5->setChecked(false);
    form.CheckBox3->setChecked(false);
    form.TrackBar1->setValue(100);
    play(second);
    EXPECT_EQ(render(30000), dry);
}

TEST_F(MainWindowEffects, TheSampleEchoIsHeardOnTheChannel) {
    const auto file = sine("a.wav", 1, 440);
    play(file);
    const auto dry = render(3000);
    play(file);
    form.CheckBox3->setChecked(true);
    const auto wet = render(3000);
    EXPECT_TRUE(std::equal(wet.begin(), wet.begin() + 2400, dry.begin())) << "silent ring";
    for (std::size_t i = 2400; i < 6000; i += 2)
        EXPECT_EQ(wet[i], std::clamp(dry[i] + dry[i - 2400 + 1] / 2, -32768, 32767)) << i;
}

TEST_F(MainWindowEffects, SpeedScalesTheSourcesOwnRate) {
    // The last frame with sound, in the output of a whole one-second file.
    const auto heardFrames = [this](const std::filesystem::path& file, int speed) {
        play(file);
        form.trkSpeed->setValue(speed);
        const auto out = render(3 * kRate);
        std::size_t last = 0;
        for (std::size_t i = 0; i < out.size(); ++i)
            if (out[i] != 0) last = i / 2;
        return static_cast<double>(last + 1);
    };
    const auto file = sine("a.wav", 1, 440);
    EXPECT_NEAR(heardFrames(file, 50), 2 * kRate, 60);
    EXPECT_EQ(form.Label36->text(), QString::fromUtf8("Скорость - 50%"));
    EXPECT_NEAR(heardFrames(file, 150), kRate * 2 / 3.0, 60);
    EXPECT_EQ(form.Label36->text(), QString::fromUtf8("Скорость - 150%"));
    std::uint32_t freq = 0;
    BASS_ChannelGetAttributes(audio.Channel, &freq, nullptr, nullptr);
    EXPECT_EQ(freq, 66150u);

    play(sine("b.wav", 1, 440, 48000));
    EXPECT_EQ(form.trkSpeed->value(), 100) << "each new source starts at 100";
    form.trkSpeed->setValue(120);
    form.trkSpeed->setValue(100);
    BASS_ChannelGetAttributes(audio.Channel, &freq, nullptr, nullptr);
    EXPECT_EQ(freq, 48000u) << "100 % is the source's own rate";
    form.trkSpeed->setValue(50);
    BASS_ChannelGetAttributes(audio.Channel, &freq, nullptr, nullptr);
    EXPECT_EQ(freq, 24000u);
}

}  // namespace
