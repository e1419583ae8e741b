#pragma once

#include <QtCore/qnamespace.h>
#include <cstdint>

class QKeyEvent;

// Profiles store key bindings as Windows virtual-key codes. These functions give the
// code of the key a Qt key event reports, judged by the key pressed rather than the
// character it types: letters are their upper-case ASCII codes, the digit row is 48-57
// with or without Shift, keypad digits and operators are 96-111. Keys without a
// virtual-key code give 0.
namespace VirtualKey {

// qtKey is a Qt::Key value; nativeScanCode is the X key code (0 when unknown), used
// to recognise the digit row whatever the layout and modifiers make of it.
std::uint32_t fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

std::uint32_t fromEvent(const QKeyEvent& event);

} // namespace VirtualKey
