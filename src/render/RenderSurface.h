#pragma once
// Every off-screen drawing resource of the bar: ten bar-high buffers in two sets of five, the skin
// picture named by SkinPath, the host player's own skin picture and the background brush; and the
// display state the wipe and fades drive.
//
// Buffer k belongs to set k % 2 and has the role k / 2: 0 before-wipe layer, 1 wipe-line layer,
// 2 after-wipe layer, 3 compose buffer, 4 view buffer (buffer 8 is the one that reaches the
// screen). Buffers 0 to 5 are bitmaps in the display's format; 6 to 9 are 32-bit bottom-up DIB
// sections whose pixels (0x00RRGGBB) the pixel passes work on directly.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "render/DisplayStep.h"
#include "render/PixelPasses.h"
#include "render/TextLayers.h"
#include "render/WipeScroll.h"

class LyricsDocument;
class LyricsLine;
class PlayerState;
class Settings;

constexpr int kBufferCount = 10;
// Spare text layers, beside the two sets: enough for the next line, the line a set gives up in a
// cross-fade and a cleared set.
constexpr int kSpareLayers = 3;
constexpr int kBeforeWipeLayer = 0, kWipeLineLayer = 2, kAfterWipeLayer = 4, kComposeBuffer = 6, kViewBuffer = 8;
// Limits that keep absurd sizes from the INI file from allocating without bound: buffers are
// never wider than kMaxBufferWidth, and no buffers are made for a height above kMaxBarHeight.
constexpr int32_t kMaxBufferWidth = 10000;
constexpr int32_t kMaxBarHeight = 160;

// What the text layers of a buffer set were drawn from: the line's UTF-8 text, its UTF-16 form and
// the face that drew it. Kept so that a frame measures the same text in the same face without
// converting the line again: the tick runs sixty times a second.
struct SetText {
    std::string text;
    std::wstring wide;
    std::wstring face;
};

class RenderSurface : public DisplayStatus {
public:
    RenderSurface() = default;
    virtual ~RenderSurface();
    RenderSurface(const RenderSurface&) = delete;
    RenderSurface& operator=(const RenderSurface&) = delete;

    // (Re)creates the ten buffers and the background brush for a bar of width x height pixels;
    // every line is drawn afresh into them. A size the buffers cannot be made for leaves them
    // empty: nothing is drawn until the size is sane again.
    void createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings);
    // Releases every GDI object and clears its handle, so releasing twice is harmless.
    void releaseAll();
    // Clears set s: its view buffer is filled with the background (black under a skin, else the
    // brush), and its text layers count as holding nothing but the background.
    void clearSet(int set);
    // Loads SkinPath stretched to the width and height settings. Returns 1 when a skin is in place.
    int loadSkin(const Settings& settings);
    // Loads folder (UTF-8) + "\main.bmp" at its own size; a failure leaves no host skin picture.
    void loadHostSkin(const std::string& folder);
    // Replaces the background brush by a solid brush of colour (0x00BBGGRR).
    void replaceBackgroundBrush(int32_t colour);
    // The lines drawn so far no longer stand for the settings (their colours, say): the next frame
    // that shows a line draws it afresh.
    void invalidateLines();

    bool hasSkin() const { return skinImage.bitmap != nullptr; }
    bool hasBuffers() const { return buffers[kViewBuffer].dc != nullptr; }
    // Fills rect (x, y, x + w, y + h) of buffer k with the background of a cleared buffer.
    void fillBackground(int k, int x, int y, int w, int h);
    // The bar area of one of the 32-bit buffers 6 to 9, for the pixel passes.
    PixelArea barArea(int k) const;

    // Clears set s and draws line n of the document into its three text layers, in the colours
    // the line's karaoke mode calls for, and stores the line's measured width and height. Layers
    // that already hold the line so drawn (spare ones drawn ahead, or the other set's, which is
    // then given up) are taken instead of drawing. Returns 0 when no document is given, else 1 (a
    // missing line draws nothing).
    int renderLineText(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings);

    // Drawing ahead. The preparer (none: everything is drawn when needed) gets spare layers to
    // draw these lines of the document into, as the settings now ask, and a cleared set; what
    // spare layers hold already, or are being drawn with, is not asked for again.
    void prepareLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);
    // Spare layers back from the preparer; layers made for buffers since replaced are dropped.
    void takePrepared(std::unique_ptr<TextLayers> layers);
    // Whether each of these lines (those the document has) is held, so drawn, by a set or a spare.
    bool holdsLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);
    LayerPreparer* preparer = nullptr;

    // The title banner's picture holding content, or null while it is drawn ahead: a spare that
    // holds it is swapped in; otherwise the preparer is given the spare to draw it into, or,
    // without one, the picture is drawn now. Null without buffers.
    const BannerPicture* bannerFor(const BannerContent& content);
    // Has content drawn ahead into the spare picture, unless a picture holds it already.
    void prepareBanner(const BannerContent& content);
    bool holdsBanner(const BannerContent& content) const;
    void takePreparedBanner(std::unique_ptr<BannerPicture> picture);
    // Builds view buffer 8 + s from the text layers of set s: the wipe, the wipe line and the
    // line's place in the bar at positionMs. Returns 0 when there is no line. (The compose buffer
    // is not written: the view takes the layers' columns it shows straight from them.)
    int composeLine(int set, int32_t positionMs, const LyricsLine* line, const LyricsDocument& document,
                    const Settings& settings);
    // Advances the display state by one frame and shows the result at (x, y) in the target
    // window. Returns 0 only when Showing finds no document or no such line (nothing is drawn).
    // The player is not read here.
    int renderFrame(HWND target, int x, int y, int32_t lineIndex, int32_t positionMs, const Settings& settings,
                    LyricsDocument* document, const PlayerState* player);

    // Fade starts: beginFadeIn and beginFadeOut draw the line into set 0 first; with enable exactly 1 the
    // fade runs from positionMs, else the bar goes straight to Showing (fade-in, cross-fade) or
    // Clearing (fade-out).
    void beginFadeIn(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                     const Settings& settings);
    void beginCrossFade(int32_t positionMs, int32_t enable, int32_t lineIndex);
    void beginFadeOut(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                      const Settings& settings);

    // Lays the Effects gradient over view buffer 8, then the note, if any, and copies the bar from
    // it to (x, y) in the target window (nothing without a window).
    void present(HWND target, int x, int y, const Settings& settings);
    // A short note drawn over every lyrics frame at the bar's right end while it is not empty
    // (the timing the user just fixed: "+0.3 s"). It goes over the finished frame only, never into
    // the text layers, so the wipe and the layers drawn ahead go on as they were.
    std::wstring note;

    int32_t barWidth = 0;
    int32_t barHeight = 0;
    int32_t bufferWidth = 0;  // columns of every buffer: 80 x barHeight, or barWidth when wider
    SurfaceBuffer buffers[kBufferCount];
    SurfaceBuffer hostSkinImage;
    SurfaceBuffer skinImage;
    HBRUSH backgroundBrush = nullptr;
    int32_t backgroundColour = 0;  // the brush's
    SetText setTexts[2];
    LayerContent setContent[2];  // what the text layers of each set hold
    SIZE setExtent[2] = {};      // the measured size of the line they hold

private:
    // A text font kept while its face and the bar's height stay: a set's line is measured in one,
    // the timing note drawn in another.
    struct SetFont {
        HFONT font = nullptr;
        std::wstring face;
        int32_t height = 0;
    };
    struct ChosenFace {
        std::string text;
        std::string fontName;
        std::wstring wide;
        std::wstring face;
    };

    LayerContent blankContent() const;
    LayerContent contentFor(const LyricsLine& line, const Settings& settings);
    // Makes set s hold content: left as it is, swapped in from a spare (or from the other set,
    // when takeOther: its content is no longer needed), or drawn.
    void holdInSet(int set, const LayerContent& content, bool takeOther);
    // renderLineText; takeOther false keeps the other set as it is.
    int drawLine(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings, bool takeOther);
    void swapLayers(int set, TextLayers& spare);
    bool isPrepared(const LayerContent& content) const;
    // Fills the bar area of view buffer 8 + s with the background.
    void clearView(int set);
    HFONT fontOf(int set, const std::wstring& face);
    HFONT heldFont(SetFont& held, const std::wstring& face);
    // Copies columns [from, to) of a layer, as far as they are among the `shown` columns of the
    // composed line from place.source on, into the view buffer at place.x0 on.
    void copyInView(const SurfaceBuffer& layer, int32_t from, int32_t to, int view, LinePlacement place,
                    int32_t shown);
    // The set's text for this line, converted and given its face when the set holds another.
    const SetText& textOf(int set, const LyricsLine& line, const Settings& settings);
    // Makes b as buffer k is made.
    bool createBuffer(SurfaceBuffer& b, int k, HDC windowDc);
    // Copies columns [sourceX, sourceX + columns) of a picture, full bar height, into buffer k at
    // destX, cut to both pictures so that nothing outside either is read or written.
    void copyColumns(const SurfaceBuffer& source, int32_t sourceX, int k, int32_t destX, int32_t columns);
    void overlaySkin(int set, int32_t percentage);
    void drawNote(const Settings& settings);
    // One frame of a fade: the line over its background (the skin or ColorBACK), `shown` percent
    // of the way out of it.
    void fadeFrame(HWND target, int x, int y, int32_t positionMs, const LyricsLine* line,
                   const LyricsDocument* document, const Settings& settings, int32_t shown);

    std::unique_ptr<BannerPicture> banner;       // the title banner's picture
    std::unique_ptr<BannerPicture> bannerSpare;  // null while out with the preparer
    std::vector<std::unique_ptr<TextLayers>> spares;  // ready, in no set
    std::vector<LayerContent> beingPrepared;          // the contents of the spares out with the preparer
    std::vector<ChosenFace> chosenFaces;
    ChosenFace noteFace;  // the note's: its wide text and the face chosen for it
    SetFont setFonts[2];
    SetFont noteFont;
    uint32_t generation = 0;                          // counts createBuffers
};

// Buffer width for a bar: wide enough for a whole line at the bar's font height (80 x height),
// and for the whole bar; 0 when no buffers can be made for the size.
int32_t bufferWidthFor(int32_t width, int32_t height);

// The display step of a lyrics frame: decides the due line and starts the fades it calls for.
void displayStep(RenderSurface& surface, LyricsDocument& document, int32_t positionMs, const Settings& settings);
