#include "player/app/saved_settings.h"

using namespace settings;

SavedSettings::Main SavedSettings::readMain(const SettingsStore& store) {
    Main m;
    m.firstRun = store.read(kFirstRun);
    m.volume = store.read(kVolume);
    m.eqDepth = store.read(kEqDepth);
    m.showTrayIcon = store.read(kShowTrayIcon) != 0;
    m.showInfoInTray = store.read(kShowInfoInTray) != 0;
    m.leftPopUp = store.read(kLeftPopUp) != 0;
    m.equalizerOn = store.read(kEqualizerOn) != 0;
    m.equalizerPreset = store.read(kEqualizerPreset);
    return m;
}

SavedSettings::Effects SavedSettings::readEffects(const SettingsStore& store) {
    Effects out;
    for (std::size_t i = 0; i < kEffects.size(); ++i) {
        out[i].on = store.read(kEffects[i].onSwitch()) != 0;
        for (const auto& p : kEffects[i].parameters) out[i].parameters.push_back(store.read(p));
    }
    return out;
}

SavedSettings::Effects SavedSettings::defaultEffects() {
    Effects out;
    for (std::size_t i = 0; i < kEffects.size(); ++i) {
        for (const auto& p : kEffects[i].parameters) out[i].parameters.push_back(p.defaultValue);
    }
    return out;
}

void SavedSettings::write(SettingsStore& store) const {
    store.write(kFirstRun, 0);
    store.writeBool(kMain, kEqualizerOn.name, main.equalizerOn);
    store.write(kEqualizerPreset, main.equalizerPreset);
    for (std::size_t i = 0; i < kEffects.size(); ++i) {
        store.writeBool(kMain, kEffects[i].name, effects[i].on);
        const auto& specs = kEffects[i].parameters;
        for (std::size_t j = 0; j < specs.size(); ++j) {
            store.write(specs[j], j < effects[i].parameters.size() ? effects[i].parameters[j]
                                                                   : specs[j].defaultValue);
        }
    }
    store.write(kVolume, main.volume);
    store.write(kEqDepth, main.eqDepth);
    store.writeBool(kMain, kShowTrayIcon.name, main.showTrayIcon);
    store.writeBool(kMain, kShowInfoInTray.name, main.showInfoInTray);
    store.writeBool(kMain, kLeftPopUp.name, main.leftPopUp);
}
