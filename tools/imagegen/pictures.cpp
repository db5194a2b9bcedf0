// Every bitmap, icon and cursor of the program, one small function each.
// Sizes are the ones the painting code copies; colours are those of the
// light-blue skin (outline #57759F, frame #E3EFF3).
#include "pictures.h"
#include "res/resource.h"

#include <cmath>

namespace {

// ---- Shared colours -------------------------------------------------------

const Rgb kWhite = hex(0xFFFFFF);
const Rgb kOutline = hex(0x57759F);   // dialog outline and caption-button frame
const Rgb kGlyph = hex(0x1E3554);     // dark glyphs on light faces

// Caption buttons: top and bottom row of each face.
const Rgb kCapFaceTop = hex(0xD1EAF2), kCapFaceBottom = hex(0xD9E7F4);
const Rgb kCapHotTop = hex(0x7FB4EC), kCapHotBottom = hex(0x2F6FC4);
const Rgb kCapDownTop = hex(0xBBD7F4), kCapDownBottom = hex(0x9DC2EC);
const Rgb kCapRedTop = hex(0xF39A8A), kCapRedBottom = hex(0xC9371F);
const Rgb kCapRedDownTop = hex(0xF6C4BA), kCapRedDownBottom = hex(0xE8A093);

// Push-button faces.
const Rgb kBtnBorder = hex(0x2A4C80);
const Rgb kBtnBehind = hex(0xDDE3EA);   // what the softened corners fade to
const Rgb kBtnFaceTop = hex(0xFFFFFF), kBtnFaceBottom = hex(0xDCE0E6);
const Rgb kBtnDownTop = hex(0xD5DAE2), kBtnDownBottom = hex(0xBCC4CF);
const Rgb kBtnDownShadow = hex(0x9AA6B6);
const Rgb kAmberOuter = hex(0xF0A030), kAmberInner = hex(0xFBD58A);
const Rgb kBlueOuter = hex(0x3D7BD0), kBlueInner = hex(0xA6C8F0);
const Rgb kFocusDots = hex(0x505A68);

// Header.
const Rgb kHeaderLine = hex(0x5A5A5A), kHeaderCap = hex(0x5B5B5B);
const Rgb kHeaderBottom = hex(0xA1A1A1);

// Scroll bars.
const Rgb kTrack = hex(0xE6EEF6), kTrackEdge = hex(0xB7C7DB);
const Rgb kArrowLight = hex(0xEEF5FB), kArrowDark = hex(0xC8DCEF);
const Rgb kThumbLight = hex(0xB5D0EE), kThumbDark = hex(0x86AEE0);
const Rgb kGrip = hex(0x3F5F8F);

// ---- Caption ---------------------------------------------------------------

// 135, 117x23: pale vertical gradient, white bottom row. Rows are uniform so
// the 60-pixel tiles join without a seam.
Canvas captionBar()
{
    Canvas c(117, 23);
    c.vgradient(0, 0, 116, 11, hex(0xEFF7F7), hex(0xE9F1F5));
    c.vgradient(0, 11, 116, 21, hex(0xE9F1F5), hex(0xF7FAFC));
    c.hline(0, 116, 22, kWhite);
    return c;
}

enum CaptionFace { FaceMinimize = 0, FaceMiddle = 1, FaceClose = 2, FaceNone = -1 };

int faceLeft(int face) { return 1 + 26 * face; }

void drawCaptionGlyph(Canvas& c, int face, Rgb ink)
{
    const int l = faceLeft(face);
    switch (face) {
    case FaceMinimize:  // a bar near the bottom
        c.fill(l + 8, 9, l + 16, 10, ink);
        break;
    case FaceMiddle:  // a framed square with a heavy top
        c.frame(l + 8, 3, l + 16, 11, ink);
        c.hline(l + 8, l + 16, 4, ink);
        break;
    case FaceClose:  // an X, two pixels thick
        for (int k = 0; k <= 8; ++k) {
            c.set(l + 8 + k, 3 + k, ink);
            c.set(l + 16 - k, 3 + k, ink);
            if (k < 8) {
                c.set(l + 9 + k, 3 + k, ink);
                c.set(l + 15 - k, 3 + k, ink);
            }
        }
        break;
    default:
        break;
    }
}

// 79x15: three faces in columns 1-25, 27-51, 53-77, rows 1-13, framed by
// #57759F in columns 0, 26, 52, 78 and rows 0 and 14. `hot` gets its own
// gradient and glyph colour.
Canvas captionButtons(int hot, Rgb top, Rgb bottom, Rgb hotInk)
{
    Canvas c(79, 15, kOutline);
    for (int face = FaceMinimize; face <= FaceClose; ++face) {
        const int l = faceLeft(face);
        bool isHot = face == hot;
        c.vgradient(l, 1, l + 24, 13, isHot ? top : kCapFaceTop, isHot ? bottom : kCapFaceBottom);
        drawCaptionGlyph(c, face, isHot ? hotInk : kGlyph);
    }
    return c;
}

Canvas captionNormal() { return captionButtons(FaceNone, kCapFaceTop, kCapFaceBottom, kGlyph); }
Canvas captionMinHot() { return captionButtons(FaceMinimize, kCapHotTop, kCapHotBottom, kWhite); }
Canvas captionMinDown() { return captionButtons(FaceMinimize, kCapDownTop, kCapDownBottom, kGlyph); }
Canvas captionMidHot() { return captionButtons(FaceMiddle, kCapHotTop, kCapHotBottom, kWhite); }
Canvas captionMidDown() { return captionButtons(FaceMiddle, kCapDownTop, kCapDownBottom, kGlyph); }
Canvas captionCloseHot() { return captionButtons(FaceClose, kCapRedTop, kCapRedBottom, kWhite); }
Canvas captionCloseDown() { return captionButtons(FaceClose, kCapRedDownTop, kCapRedDownBottom, kGlyph); }

// ---- Dialog background ------------------------------------------------------

// 147, 7x250: one colour per row through fixed stops, linear in between.
Canvas dialogBackground()
{
    struct Stop { int row; Rgb colour; };
    const Stop stops[] = {
        {0, Rgb{251, 252, 252}},
        {75, Rgb{227, 230, 234}},
        {150, Rgb{208, 213, 220}},
        {175, Rgb{208, 213, 220}},
        {249, Rgb{227, 230, 235}},
    };
    Canvas c(7, 250);
    for (std::size_t i = 0; i + 1 < sizeof stops / sizeof stops[0]; ++i)
        c.vgradient(0, stops[i].row, 6, stops[i + 1].row, stops[i].colour, stops[i + 1].colour);
    return c;
}

// ---- Push-button faces (73x21, cut with 3x3 corners) -------------------------

// Dark-blue border whose corners fade into the dialog behind; everything
// that differs between faces lies inside it.
// The corner pixel takes the background and the inner diagonal pixel the
// border, which reads as a small radius.
void buttonBorder(Canvas& c)
{
    const int r = c.width() - 1, b = c.height() - 1;
    c.frame(0, 0, r, b, kBtnBorder);
    const Rgb edge = mix(kBtnBorder, kBtnBehind, 0.35);
    const int xs[2] = {0, r}, ys[2] = {0, b};
    for (int x : xs) {
        for (int y : ys) {
            int dx = x == 0 ? 1 : -1, dy = y == 0 ? 1 : -1;
            c.set(x, y, kBtnBehind);
            c.set(x + dx, y, edge);
            c.set(x, y + dy, edge);
            c.set(x + dx, y + dy, kBtnBorder);
        }
    }
}

Canvas buttonBase(Rgb top, Rgb bottom)
{
    Canvas c(73, 21);
    c.vgradient(1, 1, 71, 19, top, bottom);
    return c;
}

// 351: white to light grey.
Canvas buttonNormal()
{
    Canvas c = buttonBase(kBtnFaceTop, kBtnFaceBottom);
    buttonBorder(c);
    return c;
}

// 156: an amber ring inside the border.
Canvas buttonHover()
{
    Canvas c = buttonBase(kBtnFaceTop, kBtnFaceBottom);
    c.frame(1, 1, 71, 19, kAmberOuter);
    c.frame(2, 2, 70, 18, kAmberInner);
    buttonBorder(c);
    return c;
}

// 157: a blue ring and a dotted focus rectangle.
Canvas buttonFocus()
{
    Canvas c = buttonBase(kBtnFaceTop, kBtnFaceBottom);
    c.frame(1, 1, 71, 19, kBlueOuter);
    c.frame(2, 2, 70, 18, kBlueInner);
    c.dottedFrame(3, 3, 69, 17, kFocusDots);
    buttonBorder(c);
    return c;
}

// 352: a darker face, shaded at the top and left, and the focus rectangle.
Canvas buttonPressed()
{
    Canvas c = buttonBase(kBtnDownTop, kBtnDownBottom);
    c.hline(1, 71, 1, kBtnDownShadow);
    c.vline(1, 1, 19, kBtnDownShadow);
    c.dottedFrame(3, 3, 69, 17, kFocusDots);
    buttonBorder(c);
    return c;
}

// ---- Header -------------------------------------------------------------------

// Rows 0 and 15 dark, 1-3 white, then down to #A1A1A1 at row 14.
Rgb headerShade(int row)
{
    if (row == 0 || row == 15)
        return kHeaderLine;
    if (row <= 3)
        return kWhite;
    return ramp(kWhite, kHeaderBottom, row - 3, 12);
}

void headerColumn(Canvas& c, int x)
{
    for (int y = 0; y < 16; ++y)
        c.set(x, y, headerShade(y));
}

// 159, 2x16: dark line, then the gradient.
Canvas headerLeftCap()
{
    Canvas c(2, 16);
    c.vline(0, 0, 15, kHeaderCap);
    headerColumn(c, 1);
    return c;
}

// 160, 1x16: the gradient alone.
Canvas headerMiddle()
{
    Canvas c(1, 16);
    headerColumn(c, 0);
    return c;
}

// 161, 2x16: the gradient, then a dark line.
Canvas headerRightCap()
{
    Canvas c(2, 16);
    headerColumn(c, 0);
    c.vline(1, 0, 15, kHeaderCap);
    return c;
}

// ---- Vertical scroll bar (15 wide) -------------------------------------------

// 356, 15x19: continues the header beside it (only rows 0-15 are shown).
Canvas vbarTopCap()
{
    Canvas c(15, 19, kTrack);
    for (int x = 0; x < 15; ++x)
        headerColumn(c, x);
    c.vline(14, 0, 15, kHeaderCap);
    return c;
}

// Arrow button: framed, shaded across its width, triangle in the middle.
Canvas vbarArrow(bool up)
{
    Canvas c(15, 26, kOutline);
    c.hgradient(1, 1, 13, 24, kArrowLight, kArrowDark);
    for (int k = 0; k <= 4; ++k) {
        int y = up ? 10 + k : 15 - k;
        c.hline(7 - k, 7 + k, y, kGlyph);
    }
    return c;
}

Canvas vbarUp() { return vbarArrow(true); }     // 146, 15x26
Canvas vbarDown() { return vbarArrow(false); }  // 151, 15x26

// 150, 15x1: one row of the track, lighter inside a soft edge.
Canvas vbarTrack()
{
    Canvas c(15, 1, kTrack);
    c.set(0, 0, kTrackEdge);
    c.set(14, 0, kTrackEdge);
    return c;
}

// Rounded thumb frame: corners take the track colour.
void thumbFrame(Canvas& c)
{
    const int r = c.width() - 1, b = c.height() - 1;
    c.frame(0, 0, r, b, kOutline);
    c.set(0, 0, kTrack);
    c.set(r, 0, kTrack);
    c.set(0, b, kTrack);
    c.set(r, b, kTrack);
}

void gripDot(Canvas& c, int x, int y)
{
    c.set(x, y, kGrip);
    c.set(x + 1, y + 1, kWhite);
}

// 148, 15x26: two columns of grip dots.
Canvas vbarThumb()
{
    Canvas c(15, 26);
    c.hgradient(1, 1, 13, 24, kThumbLight, kThumbDark);
    thumbFrame(c);
    for (int y = 8; y <= 17; y += 3) {
        gripDot(c, 5, y);
        gripDot(c, 8, y);
    }
    return c;
}

// 357, 14x16: the corner beside the end of the horizontal bar.
Canvas vbarCorner()
{
    Canvas c(14, 16, kTrack);
    c.hline(0, 13, 0, kTrackEdge);
    return c;
}

// ---- Horizontal scroll bar (16 tall) -------------------------------------------

// Arrow button 35 wide; only rows 0-15 are shown, so the left arrow's extra
// row is track.
Canvas hbarArrow(bool left, int height)
{
    Canvas c(35, height, kTrackEdge);
    c.frame(0, 0, 34, 15, kOutline);
    c.vgradient(1, 1, 33, 14, kArrowLight, kArrowDark);
    for (int k = 0; k <= 4; ++k) {
        int x = left ? 15 + k : 19 - k;
        c.vline(x, 7 - k, 8 + k, kGlyph);
    }
    return c;
}

Canvas hbarLeft() { return hbarArrow(true, 17); }    // 158, 35x17
Canvas hbarRight() { return hbarArrow(false, 16); }  // 154, 35x16

// 153, 1x16: one column of the track.
Canvas hbarTrack()
{
    Canvas c(1, 16, kTrack);
    c.set(0, 0, kTrackEdge);
    c.set(0, 15, kTrackEdge);
    return c;
}

// 152, 35x16: two rows of grip dots.
Canvas hbarThumb()
{
    Canvas c(35, 16);
    c.vgradient(1, 1, 33, 14, kThumbLight, kThumbDark);
    thumbFrame(c);
    for (int x = 11; x <= 23; x += 3) {
        gripDot(c, x, 5);
        gripDot(c, x, 9);
    }
    return c;
}

// ---- Icons and the cursor ------------------------------------------------------

using namespace shape;

Paint vertical(Rgb top, Rgb bottom, double y0, double y1)
{
    return [=](double, double y) {
        double t = (y - y0) / (y1 - y0);
        return mix(top, bottom, t < 0 ? 0 : t > 1 ? 1 : t);
    };
}

// A shape with a 1-unit dark outline.
void outlined(RgbaCanvas& c, const Shape& s, Rgb line, const Paint& fill)
{
    c.draw(grow(s, 1.0), solid(line));
    c.draw(s, fill);
}

// Arrowhead at angle `deg` of a ring, pointing clockwise along it.
Shape arrowHead(double cx, double cy, double r, double deg, double halfBase, double length)
{
    const double a = deg * 3.14159265358979323846 / 180.0;
    double px = cx + r * std::cos(a), py = cy - r * std::sin(a);
    double rx = std::cos(a), ry = -std::sin(a);  // outward radius
    double tx = std::sin(a), ty = std::cos(a);   // clockwise on screen
    return polygon({{px + rx * halfBase, py + ry * halfBase},
                    {px - rx * halfBase, py - ry * halfBase},
                    {px + tx * length, py + ty * length}});
}

// 128: the program: two blue arrows chasing round a circle.
void drawRefresh(RgbaCanvas& c)
{
    // Each arrow is outlined on its own so the head stays apart from the
    // tail of the other one.
    for (double start : {45.0, 225.0}) {
        Shape arrow = unite(arc(16, 16, 10, 2.6, start, start + 120), arrowHead(16, 16, 10, start, 5.6, 6.0));
        outlined(c, arrow, hex(0x173F78), vertical(hex(0x5AAAF0), hex(0x1E5FB3), 4, 28));
    }
}

// 129: a globe (web).
void drawGlobe(RgbaCanvas& c)
{
    Shape ball = disc(16, 16, 13.5);
    outlined(c, ball, hex(0x1B4F8F), [](double x, double y) {
        double d = std::hypot(x - 11, y - 10) / 22.0;
        return mix(hex(0xA8D8FF), hex(0x1E63B8), d > 1 ? 1 : d);
    });
    Shape inside = grow(ball, -0.6);
    Paint land = solid(hex(0x4FAE54));
    c.draw(intersect(inside, unite(ellipse(10, 12, 5, 4), ellipse(20, 21, 5.5, 3.5))), land);
    Paint grid = solid(hex(0xE3F1FF));
    Shape lines = unite(unite(segment(2, 16, 30, 16, 0.55), segment(16, 2, 16, 30, 0.55)),
                        unite(segment(2, 9.5, 30, 9.5, 0.5), segment(2, 22.5, 30, 22.5, 0.5)));
    Shape meridians = [](double x, double y) {
        return std::fabs(ellipse(16, 16, 6.5, 13.5)(x, y)) - 0.5;
    };
    c.draw(intersect(inside, unite(lines, meridians)), grid);
}

// 130: an envelope (mail).
void drawEnvelope(RgbaCanvas& c)
{
    const Rgb line = hex(0x5A6F90);
    outlined(c, roundBox(3, 8, 29, 25, 1.5), line, vertical(kWhite, hex(0xE3EAF3), 8, 25));
    c.draw(unite(segment(3.5, 24.5, 13, 16.5, 0.5), segment(28.5, 24.5, 19, 16.5, 0.5)),
           solid(hex(0x9AAAC2)));
    c.draw(unite(segment(3.5, 8.8, 16, 18.5, 0.65), segment(28.5, 8.8, 16, 18.5, 0.65)), solid(line));
}

// 134: a speech bubble (instant messenger), drawn in a 16-unit space.
void drawMessenger(RgbaCanvas& c)
{
    Shape bubble = unite(roundBox(1.5, 2, 14.5, 11, 3), polygon({{4, 9}, {8, 10.5}, {2.5, 14.5}}));
    outlined(c, bubble, hex(0x2F7D32), vertical(hex(0xD6F5C4), hex(0x8FD774), 2, 12));
    c.draw(unite(unite(disc(5, 6.5, 1.1), disc(8, 6.5, 1.1)), disc(11, 6.5, 1.1)),
           solid(hex(0x2F7D32)));
}

// Cursor 133: an open hand whose index fingertip is the hot spot, (8, 8) in
// the large image. The small image spaces the fingers a whole pixel apart so
// the outline still separates them.
struct HandGeometry {
    double fingerX[4];   // index, middle, ring, little
    double tipY[4];      // centre of each round fingertip
    double halfWidth;    // of a finger
    double line;         // outline width: one pixel at either size
    double palmRight;
};

const HandGeometry kHandLarge = {{8.5, 12.5, 16.5, 20.5}, {9.6, 8.1, 9.1, 11.5}, 1.5, 1.0, 22.0};
const HandGeometry kHandSmall = {{9.0, 13.0, 17.0, 21.0}, {10.0, 8.0, 9.0, 12.0}, 1.0, 2.0, 23.0};

void drawHand(RgbaCanvas& c, const HandGeometry& g)
{
    Shape hand = roundBox(7.0, 15.0, g.palmRight, 27.5, 3.5);
    for (int f = 0; f < 4; ++f)
        hand = unite(hand, segment(g.fingerX[f], g.tipY[f], g.fingerX[f], 19.5, g.halfWidth));
    hand = unite(hand, segment(4.2, 14.8, 8.0, 21.5, g.halfWidth));  // thumb
    c.draw(grow(hand, g.line), solid(hex(0x000000)));
    c.draw(hand, solid(kWhite));
}

void drawHandLarge(RgbaCanvas& c) { drawHand(c, kHandLarge); }
void drawHandSmall(RgbaCanvas& c) { drawHand(c, kHandSmall); }

RgbaCanvas render(void (*draw)(RgbaCanvas&), int size, double design = 32.0)
{
    RgbaCanvas c(size, design);
    draw(c);
    return c;
}

RgbaCanvas rendered(void (*draw)(RgbaCanvas&), int size, double design = 32.0)
{
    RgbaCanvas c = render(draw, size, design);
    c.harden();
    return c;
}

// Full-colour icons with alpha, at the large and the small system size.
Bytes twoSizeIcon(void (*draw)(RgbaCanvas&))
{
    return encodeIco({IconImage{render(draw, 32), Depth::Bgra32},
                      IconImage{render(draw, 16), Depth::Bgra32}});
}

Bytes iconProgram() { return twoSizeIcon(drawRefresh); }
Bytes iconGlobe() { return twoSizeIcon(drawGlobe); }
Bytes iconEnvelope() { return twoSizeIcon(drawEnvelope); }

// A single 16x16 image with a 256-colour palette.
Bytes iconMessenger()
{
    return encodeIco({IconImage{rendered(drawMessenger, 16, 16.0), Depth::Indexed8}});
}

// 32x32 monochrome and 16x16 256-colour; the hot spot scales with the image.
Bytes cursorHand()
{
    return encodeCur({IconImage{rendered(drawHandLarge, 32), Depth::Mono1, 8, 8},
                      IconImage{rendered(drawHandSmall, 16), Depth::Indexed8, 4, 4}});
}

template <Canvas (*Draw)()>
Bytes bitmap()
{
    return encodeBmp24(Draw());
}

}  // namespace

// The one table of the program's pictures: the resource script's image part
// is written from it too, so no picture is drawn without being listed or
// listed without being drawn.
#define PICTURE(kind, id, make) {kind, id, #id, make}

const std::vector<Picture>& catalogue()
{
    static const std::vector<Picture> all = {
        PICTURE(Kind::Icon, IDR_MAINFRAME, iconProgram),
        PICTURE(Kind::Icon, IDI_WEB, iconGlobe),
        PICTURE(Kind::Icon, IDI_MAIL, iconEnvelope),
        PICTURE(Kind::Icon, IDI_MESSENGER, iconMessenger),
        PICTURE(Kind::Cursor, IDC_CURSOR_HAND, cursorHand),

        PICTURE(Kind::Bitmap, IDB_CAPTION_BAR, bitmap<captionBar>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_NORMAL, bitmap<captionNormal>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_MIN_HOT, bitmap<captionMinHot>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_MIN_DOWN, bitmap<captionMinDown>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_MID_HOT, bitmap<captionMidHot>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_MID_DOWN, bitmap<captionMidDown>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_CLOSE_HOT, bitmap<captionCloseHot>),
        PICTURE(Kind::Bitmap, IDB_CAPTION_CLOSE_DOWN, bitmap<captionCloseDown>),

        PICTURE(Kind::Bitmap, IDB_SKIN_BACKGROUND, bitmap<dialogBackground>),
        PICTURE(Kind::Bitmap, IDB_BUTTON_NORMAL, bitmap<buttonNormal>),
        PICTURE(Kind::Bitmap, IDB_BUTTON_HOVER, bitmap<buttonHover>),
        PICTURE(Kind::Bitmap, IDB_BUTTON_FOCUS, bitmap<buttonFocus>),
        PICTURE(Kind::Bitmap, IDB_BUTTON_PRESSED, bitmap<buttonPressed>),

        PICTURE(Kind::Bitmap, IDB_VBAR_TOP, bitmap<vbarTopCap>),
        PICTURE(Kind::Bitmap, IDB_VBAR_UP, bitmap<vbarUp>),
        PICTURE(Kind::Bitmap, IDB_VBAR_TRACK, bitmap<vbarTrack>),
        PICTURE(Kind::Bitmap, IDB_VBAR_DOWN, bitmap<vbarDown>),
        PICTURE(Kind::Bitmap, IDB_VBAR_CORNER, bitmap<vbarCorner>),
        PICTURE(Kind::Bitmap, IDB_VBAR_THUMB, bitmap<vbarThumb>),
        PICTURE(Kind::Bitmap, IDB_HBAR_LEFT, bitmap<hbarLeft>),
        PICTURE(Kind::Bitmap, IDB_HBAR_TRACK, bitmap<hbarTrack>),
        PICTURE(Kind::Bitmap, IDB_HBAR_RIGHT, bitmap<hbarRight>),
        PICTURE(Kind::Bitmap, IDB_HBAR_THUMB, bitmap<hbarThumb>),

        PICTURE(Kind::Bitmap, IDB_HEADER_LEFT_CAP, bitmap<headerLeftCap>),
        PICTURE(Kind::Bitmap, IDB_HEADER_MIDDLE, bitmap<headerMiddle>),
        PICTURE(Kind::Bitmap, IDB_HEADER_RIGHT_CAP, bitmap<headerRightCap>),
    };
    return all;
}

std::string fileName(Kind kind, int id)
{
    switch (kind) {
    case Kind::Bitmap: return "bmp" + std::to_string(id) + ".bmp";
    case Kind::Icon: return "ico" + std::to_string(id) + ".ico";
    case Kind::Cursor: return "cur" + std::to_string(id) + ".cur";
    }
    return {};
}

std::string resourceScript()
{
    std::string rc = "// Written by imagegen from its table of pictures; do not edit.\n";
    for (const Picture& p : catalogue()) {
        const char* keyword = p.kind == Kind::Bitmap ? "BITMAP" : p.kind == Kind::Icon ? "ICON" : "CURSOR";
        rc += std::string(p.name) + " " + keyword + " \"" + fileName(p.kind, p.id) + "\"\n";
    }
    return rc;
}
