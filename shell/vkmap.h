// Qt key codes to the virtual-key codes that the engine's key handling compares with.
#pragma once

namespace shl {

// Returns the virtual-key code of a Qt key (Qt::Key value) with its modifiers (Qt::KeyboardModifiers
// as int), or 0 when the key has none. Symbols that need Shift on a US layout map to their key.
int QtKeyToVk(int qtKey, int modifiers);

// The Qt key (and in *modifiers the keypad flag) that gives virtual-key code vk; 0 when none does.
int VkToQtKey(int vk, int* modifiers);

}  // namespace shl
