// The handle owners: each frees exactly what it holds, once, and hands it on with release().
#include <gtest/gtest.h>

#include <utility>

#include "app/scoped.h"

TEST(Owners, GdiObjectIsFreedOnceAndSurvivesARelease) {
    HBRUSH kept = nullptr, freed = nullptr, replaced = nullptr;
    {
        ScopedGdiObject<HBRUSH> a(CreateSolidBrush(RGB(1, 2, 3)));
        ScopedGdiObject<HBRUSH> b(CreateSolidBrush(RGB(4, 5, 6)));
        ASSERT_NE(a.get(), nullptr);
        ASSERT_NE(b.get(), nullptr);
        kept = a.release();
        EXPECT_EQ(a.get(), nullptr);
        freed = b;
        // Moving hands the one handle over: the source is left empty, so only one owner frees it.
        ScopedGdiObject<HBRUSH> moved(std::move(b));
        EXPECT_EQ(b.get(), nullptr);
        EXPECT_EQ(moved.get(), freed);
        replaced = moved.get();
        moved.reset(CreateSolidBrush(RGB(7, 8, 9)));
        EXPECT_EQ(GetObjectType(replaced), 0u) << "reset frees what it held before";
        freed = moved.get();
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH)) << "a released handle is the caller's";
    EXPECT_EQ(GetObjectType(freed), 0u);
    DeleteObject(kept);
}

TEST(Owners, MenuAndGlobalBlockAreFreedAtTheEndOfTheirScope) {
    HMENU menu = nullptr;
    HGLOBAL block = nullptr;
    {
        ScopedMenu ownedMenu(CreatePopupMenu());
        ScopedGlobal ownedBlock(GlobalAlloc(GMEM_MOVEABLE, 64));
        menu = ownedMenu;
        block = ownedBlock;
        ASSERT_TRUE(IsMenu(menu));
        ScopedGlobalLock<char> bytes(ownedBlock);
        ASSERT_NE(bytes.get(), nullptr);
        EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(GlobalSize(block), 0u);
}

TEST(Owners, SelectedPaletteComesBackAndANullOneSelectsNothing) {
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC dc(screen);
    ASSERT_NE(static_cast<HDC>(dc), nullptr);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_PAL);
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } two = {{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    ScopedGdiObject<HPALETTE> palette(CreatePalette(&two.header));
    ASSERT_NE(palette.get(), nullptr);
    {
        ScopedSelectPalette selected(dc, palette);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette.get());
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
    {
        ScopedSelectPalette none(dc, nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
}
