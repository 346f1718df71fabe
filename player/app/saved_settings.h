#pragma once
// The settings as plain values: what the windows read at creation and what the main
// window writes back when it closes.
#include <array>
#include <vector>

#include "player/app/setting_table.h"
#include "player/app/settings_store.h"

class SavedSettings {
public:
    // The values of section "Main" that the main window reads, in its reading order.
    struct Main {
        int firstRun = settings::kFirstRun.defaultValue;
        int volume = settings::kVolume.defaultValue;
        int eqDepth = settings::kEqDepth.defaultValue;
        bool showTrayIcon = false;
        bool showInfoInTray = false;
        bool leftPopUp = false;
        bool equalizerOn = false;
        int equalizerPreset = settings::kEqualizerPreset.defaultValue;
    };
    // One channel effect: its switch and its parameters in table order.
    struct Effect {
        bool on = false;
        std::vector<int> parameters;
    };
    using Effects = std::array<Effect, settings::kEffects.size()>;

    static Main readMain(const SettingsStore& store);
    // Per effect in table order: the switch, then the parameters.
    static Effects readEffects(const SettingsStore& store);
    static Effects defaultEffects();

    Main main;
    Effects effects = defaultEffects();

    // Writes every value in the closing order: "FirstRun" as 0, "EqualizerOn",
    // "EqualizerPreset", per effect the switch and its parameters, "Volume", "EqDepth",
    // "ShowTrayIcon", "ShowInfoInTray", "LeftPopUp".
    void write(SettingsStore& store) const;
};
