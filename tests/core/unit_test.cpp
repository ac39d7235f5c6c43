// Length units and the numbers of their lists: every unit a list shows comes back from its item,
// and a unit or item the list lacks falls to the nearest end, as the dialogs always did.
#include <gtest/gtest.h>
#include "core/unit.h"

TEST(LenUnits, ListItemsRoundTripAndSizes) {
    const LenUnit all[] = {LenUnit::Mm, LenUnit::Cm, LenUnit::M, LenUnit::Km};
    const double mm[] = {1, 10, 1000, 1000000};
    const char* name[] = {"mm", "cm", "m", "km"};
    for (int k = 0; k < 4; k++) {
        SCOPED_TRACE(name[k]);
        EXPECT_EQ(MmPer(all[k]), mm[k]);
        EXPECT_STREQ(UnitName(all[k]), name[k]);
        EXPECT_EQ(UnitOfItem(ItemOfUnit(all[k], true), true), all[k]);
        EXPECT_EQ(ItemOfUnit(all[k], true), 3 - k);  // km first
        if (all[k] != LenUnit::Km) {
            EXPECT_EQ(UnitOfItem(ItemOfUnit(all[k], false), false), all[k]);
            EXPECT_EQ(ItemOfUnit(all[k], false), 2 - k);  // m first
        }
    }
    // A list without km shows km as m; items beyond a list are its ends.
    EXPECT_EQ(ItemOfUnit(LenUnit::Km, false), 0);
    EXPECT_EQ(UnitOfItem(-1, true), LenUnit::Km);
    EXPECT_EQ(UnitOfItem(4, true), LenUnit::Mm);
    EXPECT_EQ(UnitOfItem(3, false), LenUnit::Mm);
    // A value cast from a number that names no unit has no size and no name.
    EXPECT_EQ(MmPer(static_cast<LenUnit>(7)), 0);
    EXPECT_STREQ(UnitName(static_cast<LenUnit>(7)), "");
}
