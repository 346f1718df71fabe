// The main window's sound shaping: the nine-band equalizer with its depth and presets, the
// seven channel effects (their parameters live in the effect window), the three sample
// effects and the speed, all applied to the audio object's Channel.
#include <QActionGroup>

#include "player/engine/audio_object.h"
#include "player/ui/effect_parameters.h"
#include "player/ui/effects_window.h"
#include "player/ui/equalizer_presets.h"
#include "player/ui/main_window.h"
#include "soundlib/soundlib.h"
#include "soundlib/soundlib_fx.h"

namespace {

std::uint32_t CurrentChannel() {
    return AudioObject ? AudioObject->Channel : 0;
}

// An effect of `type` on Channel in place of the one `handle` held there before, so that
// applying the same switch twice to one channel never doubles the effect.
void Attach(std::uint32_t& handle, std::uint32_t type) {
    BASS_ChannelRemoveFX(CurrentChannel(), handle);
    handle = BASS_ChannelSetFX(CurrentChannel(), type);
}

void Detach(std::uint32_t handle) {
    BASS_ChannelRemoveFX(CurrentChannel(), handle);
}

}  // namespace

std::array<QSlider*, 9> TForm1::Bands() const {
    return {TrackBar2, TrackBar3, TrackBar4, TrackBar5, TrackBar6,
            TrackBar7, TrackBar8, TrackBar9, TrackBar10};
}

std::array<QCheckBox*, 7> TForm1::EffectSwitches() const {
    return {CheckBox5, CheckBox6, CheckBox7, CheckBox8, CheckBox9, CheckBox10, CheckBox11};
}

void TForm1::CreatePopupMenu3() {
    PopupMenu3 = new QMenu(this);
    auto* group = new QActionGroup(PopupMenu3);
    for (int i = 0; i <= equalizer::kUserPreset; ++i) {
        QAction* item = PopupMenu3->addAction(equalizer::PresetCaption(i));
        item->setCheckable(true);
        item->setChecked(i == equalizer::kDefaultPreset);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { ApplyEqualizerPreset(i); });
    }
}

void TForm1::BindEffects() {
    CreatePopupMenu3();
    for (QWidget* control : std::initializer_list<QWidget*>{CheckBox1, CheckBox2, CheckBox3,
                                                            CheckBox4, trkSpeed, TrackBar11})
        control->setEnabled(true);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    const auto bands = Bands();
    for (int band = 0; band < equalizer::kBands; ++band)
        connect(bands[band], &QSlider::valueChanged, this, [this, band] { BandChange(band); });
    connect(TrackBar11, &QSlider::valueChanged, this, &TForm1::TrackBar11Change);
    Label37->installEventFilter(this);
    Label40->installEventFilter(this);

    const auto switches = EffectSwitches();
    for (std::size_t e = 0; e < switches.size(); ++e) {
        switches[e]->setEnabled(true);
        connect(switches[e], &QCheckBox::toggled, this, [this, e] { EffectSwitchClick(e); });
    }
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { SampleEffectClick(CheckBox2, Rotate); });
    connect(CheckBox3, &QCheckBox::toggled, this, [this] { SampleEffectClick(CheckBox3, Echo); });
    connect(CheckBox4, &QCheckBox::toggled, this,
            [this] { SampleEffectClick(CheckBox4, Flanger); });
    connect(trkSpeed, &QSlider::valueChanged, this, &TForm1::trkSpeedChange);
}

void TForm1::CheckBox1Click() {
    const bool on = CheckBox1->isChecked();
    for (int band = 0; band < equalizer::kBands; ++band) {
        if (on)
            Attach(EqualizerFX[band], SOUND_FX_PARAMEQ);
        else
            Detach(EqualizerFX[band]);
    }
    if (on) ReapplyEqualizerBands();
    for (QWidget* control : std::initializer_list<QWidget*>{Label37, Label40, TrackBar11})
        control->setEnabled(on);
    for (QSlider* band : Bands()) band->setEnabled(on);
}

void TForm1::BandChange(int band) {
    const SoundFxParamEq record{equalizer::kBandCentres[band],
                                equalizer::Bandwidth(TrackBar11->value()),
                                equalizer::BandGain(Bands()[band]->value())};
    BASS_FXSetParameters(EqualizerFX[band], &record);
    UpdateEqualizerHints();
    Label37->setText(equalizer::PresetCaption(equalizer::kUserPreset));
}

void TForm1::ReapplyEqualizerBands() {
    const QString preset = Label37->text();
    for (int band = 0; band < equalizer::kBands; ++band) BandChange(band);
    Label37->setText(preset);
}

void TForm1::UpdateEqualizerHints() {
    for (QSlider* band : Bands())
        band->setToolTip(QString::number(static_cast<int>(equalizer::BandGain(band->value()))));
    TrackBar11->setToolTip(
        QString::number(static_cast<int>(equalizer::Bandwidth(TrackBar11->value()))));
}

void TForm1::TrackBar11Change() {
    ReapplyEqualizerBands();
}

void TForm1::ApplyEqualizerPreset(int index) {
    if (index >= 0 && index < equalizer::kUserPreset) {
        const auto bands = Bands();
        for (int band = 0; band < equalizer::kBands; ++band)
            bands[band]->setValue(-equalizer::kPresets[index].gains[band]);
        if (index == equalizer::kDefaultPreset)
            TrackBar11->setValue(equalizer::kDefaultPresetDepth);
    }
    Label37->setText(equalizer::PresetCaption(index));
}

void TForm1::Label37Click() {
    for (QAction* item : PopupMenu3->actions())
        if (item->text() == Label37->text()) item->setChecked(true);
    PopupMenu3->popup(Label37->mapToGlobal(QPoint(0, Label37->height())));
}

void TForm1::Label40Click() {
    ApplyEqualizerPreset(equalizer::kDefaultPreset);
}

void TForm1::EffectSwitchClick(std::size_t effect) {
    const int tab = static_cast<int>(effect);
    if (!EffectSwitches()[effect]->isChecked()) {
        Detach(EffectFX[effect]);
        Form5->PageControl1->setTabEnabled(tab, false);
        return;
    }
    Attach(EffectFX[effect], effects::kEffectViews[effect].type);
    Form5->show();
    Form5->PageControl1->setTabEnabled(tab, true);
    Form5->PageControl1->setCurrentIndex(tab);
    Form5->ParameterChange(effect);
}

void TForm1::SampleEffectClick(QCheckBox* box, SampleEffect& effect) {
    if (box->isChecked())
        effect.Start(CurrentChannel());
    else
        effect.Stop();
}

void TForm1::trkSpeedChange(int position) {
    SoundChannelInfo info{};
    BASS_ChannelGetInfo(CurrentChannel(), &info);
    const auto rate = static_cast<int>(static_cast<long long>(info.freq) * position / 100);
    BASS_ChannelSetAttributes(CurrentChannel(), rate, -1, -101);
    Label36->setText(QStringLiteral("Скорость - %1%").arg(position));
}

void TForm1::ReapplyEffects() {
    CheckBox1Click();
    TrackBar1Change(TrackBar1->value());
    ReapplyEqualizerBands();
    const auto switches = EffectSwitches();
    for (std::size_t e = 0; e < switches.size(); ++e) {
        if (switches[e]->isChecked()) {
            Attach(EffectFX[e], effects::kEffectViews[e].type);
            Form5->ParameterChange(e);
        } else {
            Detach(EffectFX[e]);
        }
    }
    // A ticked sample effect goes on with the playback, its state carried over.
    const std::pair<QCheckBox*, SampleEffect*> samples[] = {
        {CheckBox2, &Rotate}, {CheckBox3, &Echo}, {CheckBox4, &Flanger}};
    for (const auto& [box, effect] : samples)
        if (box->isChecked()) effect->Follow(CurrentChannel());
}
