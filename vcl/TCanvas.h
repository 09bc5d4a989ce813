#pragma once
// A drawing surface: a device context with the canvas's font and brush
// selected into it.

#include "Handles.h"
#include "TBrush.h"
#include "TFont.h"

#include <memory>

constexpr int cmSrcCopy = SRCCOPY;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The device context, created when needed, with Font and Brush selected,
    // the text colour set to the font colour and the background colour to
    // the brush colour.
    HDC Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    // Raster operation of CopyRect.
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD value) { FCopyMode = value; }

    // Fills the rectangle with the brush.
    void FillRect(const TRect& rect);
    // Copies Source's rectangle onto Dest of this canvas with CopyMode,
    // stretching when the sizes differ.
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);

protected:
    // Subclasses provide the device context here, through SetHandle.
    virtual void CreateHandle() {}
    // Hands the canvas a device context (or none); the previous one is
    // released from the canvas's objects first but not deleted.
    void SetHandle(HDC dc);

private:
    void RequiredState();
    void DeselectObjects();
    void FontChanged(TObject* Sender);
    void BrushChanged(TObject* Sender);

    HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBrush> FBrush;
    DWORD FCopyMode = cmSrcCopy;
    // Font and Brush in FHandle; declared after them, so put back first.
    TSelectedObject FFontSelection;
    TSelectedObject FBrushSelection;
};
