// The about window (links, online status, text colour) and the offer to
// start the strip with Windows, both reached from the strip's help button.
#pragma once

#include <cstdint>
#include <string>

#include "host/form_runtime_win.h"

inline constexpr const char* kAboutTitle = "关于备忘条";
inline constexpr const char* kAboutCloseButton = "帮助关闭按钮";
inline constexpr const char* kProductCentreButton = "产品中心按钮";
inline constexpr const char* kColourButton = "调色按钮";
inline constexpr const char* kOnlineButton = "在线按钮";

WindowTemplate aboutTemplate();
WindowHandlers aboutHandlers();

// Opens the about window without an owner and returns at once; when one is
// open already it is brought to the front instead. Returns its window id.
int openAboutWindow();
// The open about window's id, 0 when there is none.
int aboutWindow();

// Asks whether to start with Windows unless the Run value already starts
// this executable; Yes writes the value, No removes one naming another path.
void promptStartWithSystem();
// The running executable's full path; empty when it cannot be found.
std::string executablePath();

// Whether the status service says the support contact is online.
bool contactIsOnline(long long contactNumber);

// The colour button's work once a colour is known: the strip's default, the
// settings file and every row take it.
void applyTextColour(std::int32_t colour);
