// Every shipped translation fits the help panel and renders without missing
// glyphs.
//
// The panel lays its two paragraphs into boxes of 325 x 130 at left 20, top
// 60 and top 155 moved by language, over a background 300 high (all times
// the scale 1 or 2), in 12-point "Segoe UI" ("MS UI Gothic" for Japanese).
// Each paragraph is measured as the label draws it: DrawTextW with
// DT_WORDBREAK | DT_LEFT, anti-aliased. Under Wine the faces are replaced by
// fonts of nearly the same metrics (tools/wine/fonts.reg).
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#include "support/ExeFolder.h"
#include "support/PanelTexts.h"

namespace {

using testsupport::ExeFolder;
using testsupport::ModelsKey;
using testsupport::PortsKey;

struct Language {
    const char* name;
    int modelsTopShift; // move of the second paragraph, times the scale
};

// The shipped languages with the second paragraph's place for each.
const Language Languages[] = {
    {"English", 0},  {"TChinese", -35},  {"SChinese", -35},  {"Danish", -15},  {"Japanese", -15},
    {"Poland", 25},  {"Portuguese", 25}, {"Brazil", 25},     {"Spanish", 25},  {"Dutch", 25},
    {"Turkish", 25}, {"Vietnamese", 25}, {"Indonesian", 25}, {"Croatian", 25}, {"Hungarian", 30},
    {"French", 40},  {"German", 40},     {"Italian", 0},     {"Korean", 0},    {"Russian", 0},
};

std::wstring Wide(const char* text)
{
    return std::wstring(text, text + std::strlen(text));
}

std::wstring Translation(const Language& language, const wchar_t* key)
{
    std::wstring file = ExeFolder() + L"\\images\\LangFiles\\" + Wide(language.name) + L".ini";
    std::vector<wchar_t> text(4096);
    DWORD count =
        GetPrivateProfileStringW(L"Translations", key, L"", text.data(), static_cast<DWORD>(text.size()), file.c_str());
    return std::wstring(text.data(), count);
}

const wchar_t* FaceFor(const Language& language)
{
    return lstrcmpiA(language.name, "Japanese") == 0 ? L"MS UI Gothic" : L"Segoe UI";
}

// A memory DC with the panel's font at one scale.
class PanelFont {
public:
    PanelFont(const wchar_t* face, int scale)
    {
        FDC = CreateCompatibleDC(nullptr);
        FFont = CreateFontW(-16 * scale, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
        if (FDC && FFont)
            FOld = SelectObject(FDC, FFont);
    }
    ~PanelFont()
    {
        if (FOld)
            SelectObject(FDC, FOld);
        if (FFont)
            DeleteObject(FFont);
        if (FDC)
            DeleteDC(FDC);
    }
    PanelFont(const PanelFont&) = delete;
    PanelFont& operator=(const PanelFont&) = delete;

    bool Valid() const { return FOld != nullptr; }
    HDC DC() const { return FDC; }

    std::wstring Face() const
    {
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(FDC, LF_FACESIZE, face);
        return face;
    }

    // Width and height of text wrapped into a box width wide.
    RECT Measure(const std::wstring& text, int width) const
    {
        RECT rect = {0, 0, width, 0};
        DrawTextW(FDC, text.c_str(), static_cast<int>(text.size()), &rect, DT_WORDBREAK | DT_LEFT | DT_CALCRECT);
        return rect;
    }

    int LineHeight() const
    {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(FDC, &metrics);
        return metrics.tmHeight;
    }

private:
    HDC FDC = nullptr;
    HFONT FFont = nullptr;
    HGDIOBJ FOld = nullptr;
};

class LanguageFitTest : public testing::TestWithParam<Language> {};

TEST_P(LanguageFitTest, ParagraphsFitPanel)
{
    const Language& language = GetParam();
    std::wstring ports = Translation(language, PortsKey);
    std::wstring models = Translation(language, ModelsKey);
    ASSERT_FALSE(ports.empty()) << language.name << ": first paragraph";
    ASSERT_FALSE(models.empty()) << language.name << ": second paragraph";

    for (int s = 1; s <= 2; ++s) {
        PanelFont font(FaceFor(language), s);
        ASSERT_TRUE(font.Valid());
        ASSERT_EQ(std::wstring(FaceFor(language)), font.Face()) << "face not installed or not replaced";
        int lineHeight = font.LineHeight();

        RECT portsRect = font.Measure(ports, 325 * s);
        RECT modelsRect = font.Measure(models, 325 * s);
        int portsTop = 60 * s;
        int modelsTop = (155 + language.modelsTopShift) * s;
        int portsBottom = portsTop + portsRect.bottom;
        int modelsBottom = modelsTop + modelsRect.bottom;
        std::string at = std::string(language.name) + " at scale " + std::to_string(s) + ", lines " +
                         std::to_string(portsRect.bottom / lineHeight) + " and " +
                         std::to_string(modelsRect.bottom / lineHeight) + " of " + std::to_string(lineHeight) + " px";

        EXPECT_LE(portsBottom, modelsTop) << at << ": first paragraph runs into the second";
        EXPECT_LE(modelsBottom, 300 * s) << at << ": second paragraph runs off the background";
        EXPECT_LE(portsRect.bottom, 130 * s) << at << ": first paragraph taller than its box";
        EXPECT_LE(modelsRect.bottom, 130 * s) << at << ": second paragraph taller than its box";
        EXPECT_LE(portsRect.right, 325 * s) << at << ": first paragraph wider than its box";
        EXPECT_LE(modelsRect.right, 325 * s) << at << ": second paragraph wider than its box";
    }
}

// Renders single characters, white on black, into a small DIB.
class GlyphCanvas {
public:
    explicit GlyphCanvas(const wchar_t* face) : FFont(face, 2)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = Size;
        info.bmiHeader.biHeight = -Size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        FBitmap = CreateDIBSection(FFont.DC(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
        if (FBitmap)
            FOld = SelectObject(FFont.DC(), FBitmap);
        SetTextColor(FFont.DC(), RGB(255, 255, 255));
        SetBkMode(FFont.DC(), TRANSPARENT);
    }
    ~GlyphCanvas()
    {
        if (FOld)
            SelectObject(FFont.DC(), FOld);
        if (FBitmap)
            DeleteObject(FBitmap);
    }
    GlyphCanvas(const GlyphCanvas&) = delete;
    GlyphCanvas& operator=(const GlyphCanvas&) = delete;

    bool Valid() const { return FFont.Valid() && FOld != nullptr; }

    std::vector<DWORD> Render(wchar_t c)
    {
        std::fill(FBits, FBits + Size * Size, 0u);
        GdiFlush();
        RECT rect = {4, 4, Size, Size};
        DrawTextW(FFont.DC(), &c, 1, &rect, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
        GdiFlush();
        return std::vector<DWORD>(FBits, FBits + Size * Size);
    }

private:
    static constexpr int Size = 64;
    PanelFont FFont;
    HBITMAP FBitmap = nullptr;
    DWORD* FBits = nullptr;
    HGDIOBJ FOld = nullptr;
};

bool Blank(const std::vector<DWORD>& pixels)
{
    for (DWORD pixel : pixels) {
        if (pixel & 0xFFFFFF)
            return false;
    }
    return true;
}

TEST_P(LanguageFitTest, EveryCharacterHasGlyph)
{
    const Language& language = GetParam();
    std::set<wchar_t> characters;
    for (const wchar_t* key : {PortsKey, ModelsKey}) {
        for (wchar_t c : Translation(language, key)) {
            if (c != L' ')
                characters.insert(c);
        }
    }
    ASSERT_FALSE(characters.empty()) << language.name;

    GlyphCanvas canvas(FaceFor(language));
    ASSERT_TRUE(canvas.Valid());
    // What the face and its linked fonts draw for a character none of them
    // has (U+0378 is unassigned).
    std::vector<DWORD> missing = canvas.Render(L'\x0378');
    for (wchar_t c : characters) {
        std::vector<DWORD> glyph = canvas.Render(c);
        EXPECT_FALSE(glyph == missing) << language.name << ": no glyph for U+" << std::hex << static_cast<int>(c);
        EXPECT_FALSE(Blank(glyph)) << language.name << ": nothing drawn for U+" << std::hex << static_cast<int>(c);
    }
}

// Both faces draw every script a translation may need, through their own
// glyphs or linked fonts.
TEST(PanelFonts, CoverScripts)
{
    const wchar_t* const samples[] = {
        L"Aa\x00E9\x00F8\x0151\x0107\x015F\x011F\x0131", // Latin with accents
        L"\x0416\x0436\x0451\x044B", // Cyrillic
        L"\x0391\x03A9\x03B1\x03C9\x03AC", // Greek
        L"\x1EA1\x1EBF\x1EE9\x01B0\x0111", // Vietnamese
        L"\x4E2D\x6587\x7E41\x9AD4\x3002\xFF0C", // Chinese
        L"\x3042\x30A2\x65E5\x672C", // Japanese
        L"\xD55C\xAD6D\xC5B4", // Korean
    };
    for (const wchar_t* face : {L"Segoe UI", L"MS UI Gothic"}) {
        GlyphCanvas canvas(face);
        ASSERT_TRUE(canvas.Valid());
        std::vector<DWORD> missing = canvas.Render(L'\x0378');
        for (const wchar_t* sample : samples) {
            for (const wchar_t* c = sample; *c; ++c) {
                std::vector<DWORD> glyph = canvas.Render(*c);
                EXPECT_FALSE(glyph == missing || Blank(glyph))
                    << std::string(face, face + lstrlenW(face)) << ": no glyph for U+" << std::hex
                    << static_cast<int>(*c);
            }
        }
    }
}

std::string LanguageName(const testing::TestParamInfo<Language>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFitTest, testing::ValuesIn(Languages), LanguageName);

} // namespace
