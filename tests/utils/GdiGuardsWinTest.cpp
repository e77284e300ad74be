// The owners of GDI objects against the real GDI: each object is released exactly once, by its
// last owner, and a selection gives way before its object goes.
#include "utils/GdiGuards.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

TEST(GdiGuards, TheLastOwnerReleasesAndASelectionRestoresTheDisplacedObjectOnce) {
    HFONT created = CreateFontW(14, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    ASSERT_NE(created, nullptr);
    OwnedFont kept;
    {
        OwnedFont font(created);
        MemoryDc dc(CreateCompatibleDC(nullptr));
        ASSERT_NE(dc, nullptr);
        HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
        {
            SelectedObject selected(dc, font);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), created);
            SelectedObject handedOn(std::move(selected));
            SelectedObject nothing(dc, nullptr);  // a font that could not be made selects nothing
            EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), created);
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), own);
        kept = std::move(font);
    }
    EXPECT_EQ(GetObjectType(created), static_cast<DWORD>(OBJ_FONT)) << "the font was handed on, not deleted";
    kept.reset();
    EXPECT_EQ(GetObjectType(created), 0u);
}
