#include "vkmap.h"
#include <Qt>

namespace shl {

namespace {
struct KeyVk {
    int key;
    int vk;
};

// Keys whose codes differ between Qt and the virtual-key set.
constexpr KeyVk kTbl[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},     {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},     {Qt::Key_Control, 17},   {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20},  {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},       {Qt::Key_Home, 36},      {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},        {Qt::Key_Right, 39},     {Qt::Key_Down, 40},
    {Qt::Key_Select, 41},    {Qt::Key_Print, 42},     {Qt::Key_Execute, 43},
    {Qt::Key_SysReq, 44},    {Qt::Key_Insert, 45},    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},      {Qt::Key_Meta, 91},      {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},   {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // US layout punctuation (the OEM keys), unshifted and shifted.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},   {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},      {Qt::Key_Comma, 188},   {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},     {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},   {Qt::Key_Slash, 191},   {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits.
    {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},      {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// The numeric keypad has keys of its own.
int KeypadVk(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 110;
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0;
    }
}
}  // namespace

int QtKeyToVk(int key, int modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (int vk = KeypadVk(key)) return vk;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    for (const KeyVk& e : kTbl) {
        if (e.key == key) return e.vk;
    }
    return 0;
}

int VkToQtKey(int vk, int* modifiers) {
    *modifiers = 0;
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= 112 && vk <= 135) return Qt::Key_F1 + (vk - 112);
    if (vk >= 96 && vk <= 105) {
        *modifiers = Qt::KeypadModifier;
        return Qt::Key_0 + (vk - 96);
    }
    constexpr KeyVk pad[] = {{Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
                             {Qt::Key_Period, 110}, {Qt::Key_Slash, 111}};
    for (const KeyVk& e : pad)
        if (e.vk == vk) {
            *modifiers = Qt::KeypadModifier;
            return e.key;
        }
    // The first entry of a code is its unshifted key.
    for (const KeyVk& e : kTbl)
        if (e.vk == vk) return e.key;
    return 0;
}

}  // namespace shl
