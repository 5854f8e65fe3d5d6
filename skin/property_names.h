// Window property names of the skin toolkit. They are an interface: the
// layered surface and any holder of a control's handle read what the control
// kinds wrote, so every name is spelled once, here.
#pragma once

// On every toolkit control.
inline constexpr char kPropType[] = "PngControl_Type";
inline constexpr char kPropWndProc[] = "PngControl_WndProc";
inline constexpr char kPropChildWndProc[] = "PngControl_ChildWndProc";
inline constexpr char kPropCacheBitmap[] = "PngControl_CacheBitmap";
inline constexpr char kPropToolTips[] = "Orvex_ToolTips";

// Picture box, edit box and the layered surface's background.
inline constexpr char kPropBackImage[] = "PngControl_BackImage";
inline constexpr char kPropBackType[] = "PngControl_BackType";

// Edit box face.
inline constexpr char kPropBackColor[] = "PngControl_BackColor";
inline constexpr char kPropBackAlpha[] = "PngControl_BackAlpha";
inline constexpr char kPropOrderColor[] = "PngControl_OrderColor";
inline constexpr char kPropOrderAlpha[] = "PngControl_OrderAlpha";
inline constexpr char kPropTextColor[] = "PngControl_TextColor";

// Image button.
inline constexpr char kPropNormalImage[] = "PngControl_NormalImage";
inline constexpr char kPropOverlImage[] = "PngControl_OverlImage";
inline constexpr char kPropDownImage[] = "PngControl_DownImage";
inline constexpr char kPropDisableImage[] = "PngControl_DisableImage";
inline constexpr char kPropDrawState[] = "Orvex_DrawState";
inline constexpr char kPropIsFoucs[] = "PngControl_IsFoucs";

// Layered surface window.
inline constexpr char kPropTime[] = "PngControl_Time";

// Loading-dialog window class.
inline constexpr char kPropThread[] = "Orvex_Thread";
inline constexpr char kPropImage[] = "Orvex_Image";
inline constexpr char kPropStream[] = "Orvex_Stream";
inline constexpr char kPropHitMove[] = "OrvexHitMove";

// Everything the toolkit may leave on a control or a layered surface; removed
// when the window is destroyed.
inline constexpr const char* kControlPropertyNames[] = {
    kPropType,        kPropWndProc,     kPropChildWndProc, kPropCacheBitmap,
    kPropToolTips,    kPropBackImage,   kPropBackType,     kPropBackColor,
    kPropBackAlpha,   kPropOrderColor,  kPropOrderAlpha,   kPropTextColor,
    kPropNormalImage, kPropOverlImage,  kPropDownImage,    kPropDisableImage,
    kPropDrawState,   kPropIsFoucs,     kPropTime,
};

// Values of "PngControl_Type"; absent (0) means not a toolkit control.
inline constexpr int kKindNone = 0;
inline constexpr int kKindPicture = 2;
inline constexpr int kKindButton = 3;
inline constexpr int kKindEdit = 4;

// Values of "Orvex_DrawState".
inline constexpr int kDrawNormal = 0;
inline constexpr int kDrawHover = 1;
inline constexpr int kDrawPressed = 2;
inline constexpr int kDrawDisabled = 3;

// Values of "PngControl_BackType"; any other value places the image at its
// own size at the top-left corner.
inline constexpr int kBackOwnSize = 0;
inline constexpr int kBackStretch = 1;
inline constexpr int kBackFitCentre = 2;
