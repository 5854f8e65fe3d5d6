// Resource ids of everything the program embeds, shared by resources.rc and
// the C++ code. The rc compiler reads only the #defines.
#pragma once

// Strip background for n rows (n = 1 to 41): IDR_STRIP_BACKGROUND_1 + n - 1.
#define IDR_STRIP_BACKGROUND_1 101
#define IDR_BAR_NORMAL 201
#define IDR_BAR_RED 202
#define IDR_BAR_YELLOW 203
#define IDR_ADD_NORMAL 211
#define IDR_ADD_HOVER 212
#define IDR_ADD_PRESSED 213
#define IDR_HELP_NORMAL 221
#define IDR_HELP_HOVER 222
#define IDR_HELP_PRESSED 223
#define IDR_CLOSE_NORMAL 231
#define IDR_CLOSE_HOVER 232
#define IDR_CLOSE_PRESSED 233
#define IDR_CLOCK_OFF 241
#define IDR_CLOCK_ON 242
#define IDR_CLOCK_HOVER 243
#define IDR_CLOCK_PRESSED 244
#define IDR_DELETE_NORMAL 251
#define IDR_DELETE_HOVER 252
#define IDR_DELETE_PRESSED 253

#define IDR_ABOUT_FACE 301
#define IDR_ABOUT_CLOSE_NORMAL 311
#define IDR_ABOUT_CLOSE_HOVER 312
#define IDR_ABOUT_CLOSE_PRESSED 313
#define IDR_PRODUCT_CENTRE_NORMAL 321
#define IDR_PRODUCT_CENTRE_HOVER 322
#define IDR_PRODUCT_CENTRE_PRESSED 323
#define IDR_COLOUR_NORMAL 331
#define IDR_COLOUR_HOVER 332
#define IDR_COLOUR_PRESSED 333
#define IDR_ONLINE_CONTACT_ON_NORMAL 341
#define IDR_ONLINE_CONTACT_ON_HOVER 342
#define IDR_ONLINE_CONTACT_ON_PRESSED 343
#define IDR_ONLINE_CONTACT_OFF_NORMAL 351
#define IDR_ONLINE_CONTACT_OFF_HOVER 352
#define IDR_ONLINE_CONTACT_OFF_PRESSED 353

// The lowest icon id: Explorer shows it as the executable's own icon.
#define IDI_TRAY 1

#ifndef RC_INVOKED
inline constexpr int kResStripBackground1 = IDR_STRIP_BACKGROUND_1;
inline constexpr int kStripBackgroundCount = 41;
// The background for `rows` rows, 1 to kStripBackgroundCount.
constexpr int stripBackgroundId(int rows) { return kResStripBackground1 + rows - 1; }

inline constexpr int kResBarNormal = IDR_BAR_NORMAL;
inline constexpr int kResBarRed = IDR_BAR_RED;
inline constexpr int kResBarYellow = IDR_BAR_YELLOW;
inline constexpr int kResAddNormal = IDR_ADD_NORMAL;
inline constexpr int kResAddHover = IDR_ADD_HOVER;
inline constexpr int kResAddPressed = IDR_ADD_PRESSED;
inline constexpr int kResHelpNormal = IDR_HELP_NORMAL;
inline constexpr int kResHelpHover = IDR_HELP_HOVER;
inline constexpr int kResHelpPressed = IDR_HELP_PRESSED;
inline constexpr int kResCloseNormal = IDR_CLOSE_NORMAL;
inline constexpr int kResCloseHover = IDR_CLOSE_HOVER;
inline constexpr int kResClosePressed = IDR_CLOSE_PRESSED;
inline constexpr int kResClockOff = IDR_CLOCK_OFF;
inline constexpr int kResClockOn = IDR_CLOCK_ON;
inline constexpr int kResClockHover = IDR_CLOCK_HOVER;
inline constexpr int kResClockPressed = IDR_CLOCK_PRESSED;
inline constexpr int kResDeleteNormal = IDR_DELETE_NORMAL;
inline constexpr int kResDeleteHover = IDR_DELETE_HOVER;
inline constexpr int kResDeletePressed = IDR_DELETE_PRESSED;

inline constexpr int kResAboutFace = IDR_ABOUT_FACE;
inline constexpr int kResAboutCloseNormal = IDR_ABOUT_CLOSE_NORMAL;
inline constexpr int kResAboutCloseHover = IDR_ABOUT_CLOSE_HOVER;
inline constexpr int kResAboutClosePressed = IDR_ABOUT_CLOSE_PRESSED;
inline constexpr int kResProductCentreNormal = IDR_PRODUCT_CENTRE_NORMAL;
inline constexpr int kResProductCentreHover = IDR_PRODUCT_CENTRE_HOVER;
inline constexpr int kResProductCentrePressed = IDR_PRODUCT_CENTRE_PRESSED;
inline constexpr int kResColourNormal = IDR_COLOUR_NORMAL;
inline constexpr int kResColourHover = IDR_COLOUR_HOVER;
inline constexpr int kResColourPressed = IDR_COLOUR_PRESSED;
inline constexpr int kResOnlineContactOnNormal = IDR_ONLINE_CONTACT_ON_NORMAL;
inline constexpr int kResOnlineContactOnHover = IDR_ONLINE_CONTACT_ON_HOVER;
inline constexpr int kResOnlineContactOnPressed = IDR_ONLINE_CONTACT_ON_PRESSED;
inline constexpr int kResOnlineContactOffNormal = IDR_ONLINE_CONTACT_OFF_NORMAL;
inline constexpr int kResOnlineContactOffHover = IDR_ONLINE_CONTACT_OFF_HOVER;
inline constexpr int kResOnlineContactOffPressed = IDR_ONLINE_CONTACT_OFF_PRESSED;

inline constexpr int kResTrayIcon = IDI_TRAY;
#endif
