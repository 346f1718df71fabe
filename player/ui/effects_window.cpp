#include "player/ui/effects_window.h"

#include <QCheckBox>
#include <string>

#include "player/app/saved_settings.h"
#include "player/ui/effect_parameters.h"
#include "player/ui/main_window.h"
#include "player/ui/tool_window.h"
#include "soundlib/soundlib.h"

namespace {

constexpr int kRowHeight = 38;

}  // namespace

TForm5::TForm5(TForm1& form1) : QWidget(&form1, tool_window::kFlags), form1_(form1) {
    tool_window::SetUp(this, "Form5", QStringLiteral("Настройка эффектов"), {377, 328});
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 369, 320);
    for (std::size_t e = 0; e < effects::kEffectViews.size(); ++e) CreateTab(e);
}

void TForm5::CreateTab(std::size_t effect) {
    const effects::EffectView& view = effects::kEffectViews[effect];
    const auto& stored = settings::kEffects[effect].parameters;
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet%1").arg(effect + 1));
    PageControl1->addTab(tab, QString::fromLatin1(view.caption));
    PageControl1->setTabEnabled(static_cast<int>(effect), false);
    for (std::size_t i = 0; i < view.parameters.size(); ++i) {
        const int y = 12 + kRowHeight * static_cast<int>(i);
        const std::size_t number = ScrollBars.size() + 1;
        auto* name = new QLabel(QString::fromLatin1(view.parameters[i].label), tab);
        name->setGeometry(8, y, 112, 18);
        auto* bar = new QScrollBar(Qt::Horizontal, tab);
        bar->setObjectName(QStringLiteral("ScrollBar%1").arg(number));
        bar->setGeometry(122, y, 180, 18);
        bar->setRange(stored[i].min, stored[i].max);
        bar->setPageStep(0);
        bar->setValue(stored[i].defaultValue);
        bar->setToolTip(QString::fromLatin1(view.parameters[i].hint));
        auto* value = new QLabel(effects::ValueText(view.parameters[i], bar->value()), tab);
        value->setObjectName(QStringLiteral("ValueLabel%1").arg(number));
        value->setGeometry(308, y, 52, 18);
        ScrollBars.push_back(bar);
        ValueLabels.push_back(value);
        connect(bar, &QScrollBar::valueChanged, this, [this, effect] { ParameterChange(effect); });
    }
}

std::size_t TForm5::FirstBar(std::size_t effect) const {
    std::size_t first = 0;
    for (std::size_t e = 0; e < effect; ++e) first += effects::kEffectViews[e].parameters.size();
    return first;
}

std::vector<int> TForm5::Positions(std::size_t effect) const {
    std::vector<int> positions;
    const std::size_t first = FirstBar(effect);
    for (std::size_t i = 0; i < effects::kEffectViews[effect].parameters.size(); ++i)
        positions.push_back(ScrollBars[first + i]->value());
    return positions;
}

void TForm5::ParameterChange(std::size_t effect) {
    const auto& parameters = effects::kEffectViews[effect].parameters;
    const std::size_t first = FirstBar(effect);
    const std::vector<int> positions = Positions(effect);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        ValueLabels[first + i]->setText(effects::ValueText(parameters[i], positions[i]));
    const effects::Record record = effects::MakeRecord(effect, positions);
    BASS_FXSetParameters(form1_.EffectFX[effect], record.data());
}

void TForm5::FormCreate() {
    const SettingsStore store;
    const SavedSettings::Effects saved = SavedSettings::readEffects(store);
    const auto switches = form1_.EffectSwitches();
    for (std::size_t e = 0; e < saved.size(); ++e) {
        switches[e]->setChecked(saved[e].on);
        const std::size_t first = FirstBar(e);
        for (std::size_t i = 0; i < saved[e].parameters.size(); ++i)
            ScrollBars[first + i]->setValue(saved[e].parameters[i]);
    }
    close();
}
