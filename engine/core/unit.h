// Units of length the user picks (dialogs, the status bar, the interchange files), with their size
// in millimetres, the model's unit, and their names. The stored forms keep their own numbers and
// are converted at their edges: the unit lists of the dialogs (and the journal's InUnit and
// OutUnit, which number the units as the interchange dialogs list them).
#pragma once
#include <cstdint>

enum class LenUnit : uint8_t { Mm = 0, Cm = 1, M = 2, Km = 3 };

// Millimetres per unit; 0 for a value that names no unit.
constexpr double MmPer(LenUnit u) {
    switch (u) {
    case LenUnit::Mm: return 1.0;
    case LenUnit::Cm: return 10.0;
    case LenUnit::M: return 1000.0;
    case LenUnit::Km: return 1000000.0;
    }
    return 0;
}

// "mm", "cm", "m", "km"; "" for a value that names no unit.
constexpr const char* UnitName(LenUnit u) {
    switch (u) {
    case LenUnit::Mm: return "mm";
    case LenUnit::Cm: return "cm";
    case LenUnit::M: return "m";
    case LenUnit::Km: return "km";
    }
    return "";
}

// Unit lists run from the largest unit: "km", "m", "cm", "mm" (withKm) or "m", "cm", "mm".
constexpr int UnitItemNum(bool withKm) { return withKm ? 4 : 3; }
// The unit of list item i; an item outside the list is taken as the nearest end.
constexpr LenUnit UnitOfItem(int item, bool withKm) {
    const int top = UnitItemNum(withKm) - 1;
    if (item < 0) item = 0;
    if (item > top) item = top;
    return static_cast<LenUnit>(top - item);
}
// The list item of unit u; a unit the list lacks (km) is shown as the nearest listed one.
constexpr int ItemOfUnit(LenUnit u, bool withKm) {
    const int top = UnitItemNum(withKm) - 1;
    int n = static_cast<int>(u);
    if (n > top) n = top;
    return top - n;
}
