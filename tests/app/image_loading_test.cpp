// Artwork loading: premultiplied 32-bit pictures of the file's size, the
// folder by screen width, and nothing holding the file afterwards.
#include <gtest/gtest.h>

#include "Common.h"
#include "TScreen.h"

#include <objidl.h>
#include <gdiplus.h>

#include <string>

namespace {

// GDI+ for the test's lifetime, as the host form starts it.
class GdiplusSession : public testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&FToken, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(FToken); }

private:
    ULONG_PTR FToken = 0;
};

testing::Environment* const Session = testing::AddGlobalTestEnvironment(new GdiplusSession);

std::wstring Artwork(const wchar_t* file)
{
    std::wstring path = L"Z:";
    for (const char* c = ARTWORK_DIR; *c; ++c)
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return path + L"\\1920\\" + file;
}

const BYTE* Pixel(TBitmap& b, int x, int y)
{
    return static_cast<const BYTE*>(b.ScanLine(y)) + 4 * x;
}

} // namespace

TEST(LoadImageFromFile, PngComesPremultipliedWithItsAlpha)
{
    TBitmap picture;
    LoadImageFromFile(Artwork(L"close_hover.png").c_str(), &picture);
    ASSERT_EQ(pf32bit, picture.PixelFormat());
    ASSERT_EQ(44, picture.Width());
    ASSERT_EQ(44, picture.Height());
    const BYTE* corner = Pixel(picture, 0, 0);
    EXPECT_EQ(0, corner[3]) << "transparent corner keeps alpha 0";
    EXPECT_EQ(0, corner[0] | corner[1] | corner[2]) << "and is black";
    int translucent = 0;
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x) {
            const BYTE* p = Pixel(picture, x, y);
            ASSERT_LE(p[0], p[3]) << "blue above alpha at " << x << "," << y;
            ASSERT_LE(p[1], p[3]);
            ASSERT_LE(p[2], p[3]);
            translucent += p[3] > 0 && p[3] < 255;
        }
    EXPECT_GT(translucent, 0) << "the picture's own alpha is kept";
}

TEST(LoadImageFromFile, JpegComesFullyOpaque)
{
    TBitmap picture;
    LoadImageFromFile(Artwork(L"sub_bg.jpg").c_str(), &picture);
    ASSERT_EQ(365, picture.Width());
    ASSERT_EQ(300, picture.Height());
    EXPECT_EQ(pf32bit, picture.PixelFormat());
    for (int y = 0; y < 300; y += 13)
        for (int x = 0; x < 365; x += 11)
            ASSERT_EQ(255, Pixel(picture, x, y)[3]) << x << "," << y;
}

TEST(LoadImageFromFile, TheFileIsFreeOnceLoaded)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring copy = std::wstring(temp) + L"loaded_picture.png";
    ASSERT_TRUE(CopyFileW(Artwork(L"close_normal.png").c_str(), copy.c_str(), FALSE));
    TBitmap picture;
    LoadImageFromFile(copy.c_str(), &picture);
    EXPECT_EQ(44, picture.Width());
    EXPECT_TRUE(DeleteFileW(copy.c_str())) << "the picture file is still held open";
}

TEST(GetImageFolderPath, FolderFollowsTheFactor)
{
    for (double factor : {1.0, 1.5, 2.0}) {
        std::wstring folder = GetImageFolderPath(factor);
        const wchar_t* expected = factor == 1 ? L"\\images\\1920\\" : L"\\images\\4k\\";
        ASSERT_GE(folder.size(), wcslen(expected));
        EXPECT_EQ(expected, folder.substr(folder.size() - wcslen(expected))) << factor;
    }
}

// Opaque white beside transparent: resampled premultiplied, every pixel
// stays white at its own alpha; straight resampling would darken the edge.
TEST(ResamplePicture, TheEdgeOfTranslucencyGetsNoDarkFringe)
{
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            static_cast<DWORD*>(picture.ScanLine(y))[x] = 0xFFFFFFFF;
    ResamplePicture(&picture, 5, 5);
    ASSERT_EQ(5, picture.Width());
    ASSERT_EQ(5, picture.Height());
    int translucent = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const BYTE* p = Pixel(picture, x, y);
            EXPECT_NEAR(p[3], p[0], 2) << x << "," << y << ": blue " << int(p[0]) << " at alpha " << int(p[3]);
            translucent += p[3] > 0 && p[3] < 255;
        }
    EXPECT_GT(translucent, 0) << "the edge is filtered";
}
