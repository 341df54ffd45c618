// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_DEVMODENAMES_P_H
#define PAVANE_DEVMODENAMES_P_H

// The names of the device-mode daemon on the system bus, as the library
// calls it (the daemon is a platform service of its own).

namespace DevMode {

constexpr const char* Service = "com.zelkor.devmode";
constexpr const char* RequestInterface = "com.zelkor.devmode.request";
constexpr const char* SignalInterface = "com.zelkor.devmode.signal";

// Radio calls go to RequestPath, the lock and display calls to BasePath.
constexpr const char* BasePath = "/com/zelkor/devmode";
constexpr const char* RequestPath = "/com/zelkor/devmode/request";
constexpr const char* SignalPath = "/com/zelkor/devmode/signal";

constexpr const char* GetRadioStates = "get_radio_states";
constexpr const char* ReqRadioStatesChange = "req_radio_states_change";
constexpr const char* ReqTklockModeChange = "req_tklock_mode_change";
constexpr const char* ReqDisplayStateOn = "req_display_state_on";
constexpr const char* RadioStatesInd = "radio_states_ind";

// Bits of the radio states word.
constexpr unsigned MasterRadio = 0x01;
constexpr unsigned AllRadios = 0x1f;

} // namespace DevMode

#endif
