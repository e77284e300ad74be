#include "render/BannerPicture.h"

#include "render/BannerLayout.h"
#include "render/OutlinedText.h"
#include "utils/GdiGuards.h"

bool BannerContent::operator==(const BannerContent& other) const {
    return drawn == other.drawn && background == other.background && colour == other.colour && height == other.height &&
           text == other.text && face == other.face;
}

void BannerPicture::draw() {
    textWidth = 0;
    HDC dc = picture.dc;
    if (!dc) return;
    // The whole buffer: a bar wider than 80 heights shows columns past them, which would keep an
    // old background colour.
    RECT all = {0, 0, picture.width, content.height};
    if (OwnedBrush brush{CreateSolidBrush(static_cast<COLORREF>(content.background))}) FillRect(dc, &all, brush);
    OwnedFont font(createTextFont(content.height, content.face));
    SelectedObject selected(dc, font);
    SetTextColor(dc, static_cast<COLORREF>(content.colour));
    SetBkColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* text = content.text.c_str();
    int length = static_cast<int>(content.text.size());
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, length, &extent);
    if (content.drawn)
        for (int i = 0; i < kBannerCopies; ++i) TextOutW(dc, bannerCopyX(i, extent.cx), 2, text, length);
    textWidth = extent.cx;
    GdiFlush();
}
