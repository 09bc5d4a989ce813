// The image widget: sizing to its picture and painting it.

#include "WidgetTestSupport.h"

#include "WdgImage.h"

#include <gtest/gtest.h>

using namespace gs;
using namespace widgettest;

namespace {

void Load(TBitmap* picture, int w, int h)
{
    TBitmap file;
    Fill(file, pf32bit, w, h, 10, 20, 30, 255);
    picture->Assign(&file);
}

} // namespace

TEST(WdgImage, WithoutAutoSizeThePictureLeavesTheSize)
{
    CountingHost host;
    WdgImage image;
    image.SetHost(&host);
    image.SetBounds(1, 2, 5, 6);
    EXPECT_FALSE(image.AutoSize());
    Load(image.Picture(), 30, 40);
    EXPECT_EQ(5, image.Width());
    EXPECT_EQ(6, image.Height());
    EXPECT_EQ(0, host.Count);
}

TEST(WdgImage, TurningAutoSizeOnFitsAtOnceAndGrowsTheBuffer)
{
    WdgImage image;
    image.SetBounds(1, 2, 5, 6);
    Load(image.Picture(), 30, 40);
    image.SetAutoSize(true);
    EXPECT_EQ(1, image.Left());
    EXPECT_EQ(2, image.Top());
    EXPECT_EQ(30, image.Width());
    EXPECT_EQ(40, image.Height());
    EXPECT_EQ(30, image.BufferWidth());
    EXPECT_EQ(40, image.BufferHeight());

    image.SetWidth(7);
    image.SetAutoSize(true);
    EXPECT_EQ(7, image.Width()) << "already on: no new fit";
}

TEST(WdgImage, WithAutoSizeAPictureChangeSetsTheSizeWithoutGrowingTheBuffer)
{
    CountingHost host;
    WdgImage image;
    image.SetHost(&host);
    image.SetAutoSize(true);
    EXPECT_EQ(0, image.Width()) << "an empty picture fits to 0 x 0";
    Load(image.Picture(), 30, 40);
    EXPECT_EQ(30, image.Width());
    EXPECT_EQ(40, image.Height());
    EXPECT_EQ(0, image.BufferWidth()) << "SetWidth and SetHeight leave the buffer";
    EXPECT_EQ(0, host.Count) << "no repaint request";

    image.Picture()->SetSize(0, 0);
    EXPECT_EQ(30, image.Width()) << "an empty picture keeps the size";
    image.Picture()->SetSize(12, 0);
    EXPECT_EQ(30, image.Width()) << "0 high: still kept";
    image.FitToPicture();
    EXPECT_EQ(12, image.Width());
    EXPECT_EQ(0, image.Height());
}

TEST(WdgImage, PaintCompositesThePictureAtItsOwnSizeWithTheWidgetsOpacity)
{
    GsWidget root;
    root.SetBounds(0, 0, 6, 3);
    auto* image = new WdgImage;
    image->SetBounds(2, 1, 1, 1); // smaller than the picture: not cut
    image->SetParent(&root);
    TBitmap picture;
    Fill(picture, pf32bit, 3, 2, 0, 0, 255, 255); // opaque red
    SetPixel(picture, 1, 0, 0, 0, 0, 0); // transparent
    image->Picture()->Assign(&picture);

    TBitmap frame;
    Fill(frame, pf32bit, 6, 3, 255, 0, 0, 255); // opaque blue
    root.RenderTo(&frame);
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 1, 1));
    EXPECT_EQ("0,0,255,255", PixelAt(frame, 2, 1));
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 3, 1)) << "transparent pixel";
    EXPECT_EQ("0,0,255,255", PixelAt(frame, 4, 2)) << "bottom-right of the picture";
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 5, 2));

    image->SetOpacity(0);
    Fill(frame, pf32bit, 6, 3, 255, 0, 0, 255);
    root.RenderTo(&frame);
    EXPECT_EQ("255,0,0,255", PixelAt(frame, 2, 1)) << "opacity 0";
}

TEST(WdgImage, StraightPictureIsNotDarkenedByRepeatedPaints)
{
    WdgImage image;
    image.SetDrawMode(dmStraightAlpha);
    TBitmap picture;
    Fill(picture, pf32bit, 1, 1, 200, 100, 50, 128);
    image.Picture()->Assign(&picture);
    image.SetAutoSize(true);
    for (int pass = 0; pass < 3; ++pass) {
        TBitmap frame;
        NewFrame(frame, 1, 1);
        image.RenderTo(&frame);
        EXPECT_EQ("100,50,25,128", PixelAt(frame, 0, 0)) << "pass " << pass;
    }
    EXPECT_EQ("200,100,50,128", PixelAt(*image.Picture(), 0, 0));
}
