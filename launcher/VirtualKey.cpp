#include "VirtualKey.h"

#include <QKeyEvent>
#include <unordered_map>

namespace VirtualKey {

namespace {

// X key codes of the digit row, "1" to "0" (evdev codes 2 to 11, offset by 8).
constexpr quint32 digitRowFirstScanCode = 10;
constexpr quint32 digitRowLastScanCode = 19;

std::uint32_t fromKeypad(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return 96 + static_cast<std::uint32_t>(qtKey - Qt::Key_0);
    }
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

// Keys that are neither letters nor digits, with their virtual-key codes.
const std::unordered_map<int, std::uint32_t>& namedKeys() {
    static const std::unordered_map<int, std::uint32_t> keys = [] {
        std::unordered_map<int, std::uint32_t> map = {
            {Qt::Key_Backspace, 8},
            {Qt::Key_Tab, 9},
            {Qt::Key_Backtab, 9},
            {Qt::Key_Clear, 12},
            {Qt::Key_Return, 13},
            {Qt::Key_Enter, 13},
            {Qt::Key_Shift, 16},
            {Qt::Key_Control, 17},
            {Qt::Key_Alt, 18},
            {Qt::Key_AltGr, 18},
            {Qt::Key_Pause, 19},
            {Qt::Key_CapsLock, 20},
            {Qt::Key_Escape, 27},
            {Qt::Key_Space, 32},
            {Qt::Key_PageUp, 33},
            {Qt::Key_PageDown, 34},
            {Qt::Key_End, 35},
            {Qt::Key_Home, 36},
            {Qt::Key_Left, 37},
            {Qt::Key_Up, 38},
            {Qt::Key_Right, 39},
            {Qt::Key_Down, 40},
            {Qt::Key_Select, 41},
            {Qt::Key_Printer, 42},
            {Qt::Key_Execute, 43},
            {Qt::Key_Print, 44},
            {Qt::Key_SysReq, 44},
            {Qt::Key_Insert, 45},
            {Qt::Key_Delete, 46},
            {Qt::Key_Help, 47},
            {Qt::Key_Meta, 91},
            {Qt::Key_Super_L, 91},
            {Qt::Key_Super_R, 92},
            {Qt::Key_Menu, 93},
            {Qt::Key_Sleep, 95},
            {Qt::Key_NumLock, 144},
            {Qt::Key_ScrollLock, 145},
            {Qt::Key_Back, 166},
            {Qt::Key_Forward, 167},
            {Qt::Key_Refresh, 168},
            {Qt::Key_Stop, 169},
            {Qt::Key_Search, 170},
            {Qt::Key_Favorites, 171},
            {Qt::Key_HomePage, 172},
            {Qt::Key_VolumeMute, 173},
            {Qt::Key_VolumeDown, 174},
            {Qt::Key_VolumeUp, 175},
            {Qt::Key_MediaNext, 176},
            {Qt::Key_MediaPrevious, 177},
            {Qt::Key_MediaStop, 178},
            {Qt::Key_MediaPlay, 179},
            {Qt::Key_MediaTogglePlayPause, 179},
            {Qt::Key_LaunchMail, 180},
        };
        for (int function = 0; function < 24; ++function) {
            map.emplace(Qt::Key_F1 + function, 112 + static_cast<std::uint32_t>(function));
        }
        return map;
    }();
    return keys;
}

} // namespace

std::uint32_t fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const std::uint32_t code = fromKeypad(qtKey)) {
            return code;
        }
    }
    if (const auto named = namedKeys().find(qtKey); named != namedKeys().end()) {
        return named->second;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return static_cast<std::uint32_t>(qtKey);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<std::uint32_t>(qtKey);
    }
    if (nativeScanCode >= digitRowFirstScanCode && nativeScanCode <= digitRowLastScanCode) {
        // "1" to "9", then "0".
        const quint32 position = nativeScanCode - digitRowFirstScanCode;
        return position == 9 ? '0' : '1' + position;
    }
    return 0;
}

std::uint32_t fromEvent(const QKeyEvent& event) {
    return fromQtKey(event.key(), event.modifiers(), event.nativeScanCode());
}

} // namespace VirtualKey
