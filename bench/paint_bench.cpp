// Times one whole paint of a glowing label (the outer-glow painter, wide
// text, on a 32-bit bitmap with per-pixel alpha) against one plain paint of
// the same label with radius 0.

#include "TOuterGlowTextPainter.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace gs;

namespace {

const int LabelWidth = 650;
const int LabelHeight = 260;
const unsigned GlowRadius = 8;
const double TargetRatio = 3.0;

const wchar_t* const HelpText =
    L"When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, and other display ports are "
    L"disabled. You can use the display port on Portica Dock.\r\n"
    L"Portica Dock is compatible with specific Tavrin Notebook PC models. Please check that your notebook PC "
    L"supports Portica Dock.";

double Now()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct PainterDeleter {
    void operator()(TTextPainter* p) const { p->Release(); }
};

// A transparent black label bitmap with the label's font.
std::unique_ptr<TBitmap> NewLabel()
{
    auto b = std::make_unique<TBitmap>();
    b->Canvas()->Brush()->SetColor(clBlack);
    b->SetPixelFormat(pf32bit);
    b->SetSize(LabelWidth, LabelHeight);
    TFont* font = b->Canvas()->Font();
    font->SetName(L"Segoe UI");
    font->SetHeight(-32);
    font->SetColor(clWhite);
    return b;
}

void Clear(TBitmap* b)
{
    for (int y = 0; y < b->Height(); ++y)
        std::memset(b->ScanLine(y), 0, static_cast<size_t>(b->Width()) * 4);
}

// The shortest time of runs of one paint, in milliseconds: the one least
// disturbed by other work on the machine. The bitmap is cleared before each.
double BestPaintMs(TOuterGlowTextPainter* painter, TBitmap* label, int runs)
{
    double best = 0;
    for (int n = 0; n < runs; ++n) {
        Clear(label);
        TRect rect(0, 0, LabelWidth, LabelHeight);
        const double start = Now();
        painter->PaintText(label, HelpText, &rect, DT_LEFT | DT_TOP | DT_WORDBREAK, 0, true);
        const double t = Now() - start;
        if (n == 0 || t < best)
            best = t;
    }
    return best;
}

int CountLit(TBitmap* b)
{
    int lit = 0;
    for (int y = 0; y < b->Height(); ++y) {
        const BYTE* p = static_cast<const BYTE*>(b->ScanLine(y));
        for (int x = 0; x < b->Width(); ++x)
            lit += p[4 * x + 3] != 0;
    }
    return lit;
}

} // namespace

int main()
{
    std::unique_ptr<TOuterGlowTextPainter, PainterDeleter> plain(CreateOuterGlowTextPainter());
    std::unique_ptr<TOuterGlowTextPainter, PainterDeleter> glow(CreateOuterGlowTextPainter());
    glow->Radius = GlowRadius;
    std::unique_ptr<TBitmap> label = NewLabel();

    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(label->Canvas()->Handle(), LF_FACESIZE, face);

    // One paint of each first: fonts and the glow filter are made once.
    BestPaintMs(plain.get(), label.get(), 1);
    BestPaintMs(glow.get(), label.get(), 1);

    const double plainMs = BestPaintMs(plain.get(), label.get(), 21);
    const int plainLit = CountLit(label.get());
    const double glowMs = BestPaintMs(glow.get(), label.get(), 21);
    const int glowLit = CountLit(label.get());
    const double ratio = glowMs / plainMs;

    std::printf("glowing label paint, %d x %d pf32bit, font \"%ls\" -32, per-pixel alpha\n", LabelWidth, LabelHeight,
                face);
    std::printf("%-10s %10s %12s\n", "paint", "ms", "lit pixels");
    std::printf("%-10s %10.3f %12d\n", "plain R=0", plainMs, plainLit);
    std::printf("%-10s %10.3f %12d\n", "glow R=8", glowMs, glowLit);
    std::printf("ratio glow / plain: %.2f (target at most %.1f: %s)\n", ratio, TargetRatio,
                ratio <= TargetRatio ? "met" : "MISSED");
    std::printf("(best of 21 runs each)\n");
    return plainLit > 0 && glowLit > plainLit ? 0 : 1;
}
