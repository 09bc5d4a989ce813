// Times the glow filter on the intensity image of rendered help text: the
// cell-by-cell computation against the shipped block form, which must give
// the same cells.

#include "NeighborMaxRow.h"
#include "NeighborWeightedFilter.h"
#include "OuterGlowFilterFactory.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace gs;

namespace {

const int ImageWidth = 650;
const int ImageHeight = 260;

const wchar_t* const HelpText =
    L"When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, and other display ports are "
    L"disabled. You can use the display port on Portica Dock.\r\n"
    L"Portica Dock is compatible with specific Tavrin Notebook PC models. Please check that your notebook PC "
    L"supports Portica Dock.";

struct MemoryDc {
    HDC Dc = CreateCompatibleDC(nullptr);
    ~MemoryDc()
    {
        if (Dc)
            DeleteDC(Dc);
    }
};

struct GdiObject {
    HGDIOBJ Handle;
    explicit GdiObject(HGDIOBJ h) : Handle(h) {}
    ~GdiObject()
    {
        if (Handle)
            DeleteObject(Handle);
    }
};

// Keeps an object selected into a DC for the scope.
struct Selection {
    HDC Dc;
    HGDIOBJ Old;
    Selection(HDC dc, HGDIOBJ obj) : Dc(dc), Old(SelectObject(dc, obj)) {}
    ~Selection()
    {
        if (Old && Old != HGDI_ERROR)
            SelectObject(Dc, Old);
    }
    bool Ok() const { return Old && Old != HGDI_ERROR; }
};

class Matrix {
public:
    Matrix(int rows, int cols) : FM(AllocIntMatrix(rows, cols)), FRows(rows), FCols(cols)
    {
        for (int i = 0; i < rows; ++i)
            std::fill(FM[i], FM[i] + cols, 0);
    }
    ~Matrix() { FreeIntMatrix(FM, FRows); }
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;
    IntMatrix M() const { return FM; }
    bool SameAs(const Matrix& o) const
    {
        for (int i = 0; i < FRows; ++i)
            if (!std::equal(FM[i], FM[i] + FCols, o.FM[i]))
                return false;
        return true;
    }

private:
    IntMatrix FM;
    int FRows;
    int FCols;
};

// White anti-aliased text on black, as luma per pixel. Returns false with a
// message on a failed GDI call.
bool RenderTextIntensity(const Matrix& intensity, std::wstring& faceName)
{
    MemoryDc dc;
    if (!dc.Dc) {
        std::printf("CreateCompatibleDC failed\n");
        return false;
    }
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = ImageWidth;
    bi.bmiHeader.biHeight = -ImageHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject dib(CreateDIBSection(dc.Dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.Handle || !bits) {
        std::printf("CreateDIBSection failed\n");
        return false;
    }
    GdiObject font(CreateFontW(-32, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
    if (!font.Handle) {
        std::printf("CreateFontW failed\n");
        return false;
    }
    Selection selectDib(dc.Dc, dib.Handle);
    Selection selectFont(dc.Dc, font.Handle);
    if (!selectDib.Ok() || !selectFont.Ok()) {
        std::printf("SelectObject failed\n");
        return false;
    }
    wchar_t face[LF_FACESIZE] = {};
    if (GetTextFaceW(dc.Dc, LF_FACESIZE, face) > 0)
        faceName = face;
    RECT box = {0, 0, ImageWidth, ImageHeight};
    if (!PatBlt(dc.Dc, 0, 0, ImageWidth, ImageHeight, BLACKNESS) || SetBkMode(dc.Dc, TRANSPARENT) == 0 ||
        SetTextColor(dc.Dc, RGB(255, 255, 255)) == CLR_INVALID) {
        std::printf("preparing the DC failed\n");
        return false;
    }
    if (DrawTextW(dc.Dc, HelpText, -1, &box, DT_LEFT | DT_TOP | DT_WORDBREAK) == 0) {
        std::printf("DrawTextW failed\n");
        return false;
    }
    if (!GdiFlush()) {
        std::printf("GdiFlush failed\n");
        return false;
    }
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (int i = 0; i < ImageHeight; ++i) {
        for (int j = 0; j < ImageWidth; ++j) {
            const std::uint8_t* p = pixels + (static_cast<std::size_t>(i) * ImageWidth + j) * 4;
            intensity.M()[i][j] = static_cast<int>(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0] + 0.5);
        }
    }
    return true;
}

double Now()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

void ReferenceApply(const Filter& f, const Matrix& src, const Matrix& dst)
{
    for (int i = 0; i < ImageHeight; ++i)
        for (int j = 0; j < ImageWidth; ++j)
            dst.M()[i][j] = f.Compute(src.M(), 0, 0, ImageHeight, ImageWidth, i, j);
}

// The shortest time of runs of fn, in milliseconds: the one least disturbed
// by other work on the machine.
template <class Fn>
double BestMs(int runs, Fn fn)
{
    double best = 0;
    for (int n = 0; n < runs; ++n) {
        const double start = Now();
        fn();
        const double t = Now() - start;
        if (n == 0 || t < best)
            best = t;
    }
    return best;
}

const char* VectorForm()
{
#ifdef GS_NEIGHBOR_MAX_ROW_X86
    if (CpuHasAvx2())
        return "AVX2";
    if (CpuHasSse2())
        return "SSE2";
#endif
    return "plain";
}

} // namespace

int main()
{
    Matrix intensity(ImageHeight, ImageWidth);
    std::wstring face;
    if (!RenderTextIntensity(intensity, face))
        return 1;
    int covered = 0;
    for (int i = 0; i < ImageHeight; ++i)
        for (int j = 0; j < ImageWidth; ++j)
            covered += intensity.M()[i][j] != 0;
    std::printf("glow filter on %d x %d rendered text (font \"%ls\", %d covered cells), vector form %s\n", ImageWidth,
                ImageHeight, face.c_str(), covered, VectorForm());
    std::printf("%4s %14s %12s %9s  %s\n", "R", "reference ms", "shipped ms", "ratio", "output");

    bool allSame = true;
    for (int r : {1, 4, 8, 16}) {
        OuterGlowFilterFactory factory;
        const Filter* filter = factory.GetFilter(r, r);
        Matrix expected(ImageHeight, ImageWidth);
        Matrix actual(ImageHeight, ImageWidth);
        const double reference = BestMs(5, [&] { ReferenceApply(*filter, intensity, expected); });
        const double shipped =
            BestMs(31, [&] { filter->Apply(intensity.M(), 0, 0, ImageHeight, ImageWidth, actual.M(), 0, 0); });
        const bool same = expected.SameAs(actual);
        allSame = allSame && same;
        std::printf("%4d %14.2f %12.3f %8.1fx  %s\n", r, reference, shipped, reference / shipped,
                    same ? "identical" : "DIFFERENT");
    }
    std::printf("(best of 5 and of 31 runs)\n");
    return allSame ? 0 : 1;
}
