#pragma once
// Helpers shared by the widget tests: a host that counts repaint requests, a
// widget that logs its hooks and events, and pixel access.

#include "GsWidget.h"
#include "TControl.h"

#include <windows.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace widgettest {

// The root's host: counts Invalidate calls.
class CountingHost : public TControl {
public:
    CountingHost() : TControl(nullptr) {}
    void Invalidate() override { ++Count; }
    int Count = 0;
};

using Log = std::vector<std::string>;

inline std::string Joined(const Log& log)
{
    std::string s;
    for (const auto& line : log)
        s += line + "\n";
    return s;
}

// A widget that writes every hook call and every event it raises into a
// shared log, as "Name.What(arguments)".
class LoggingWidget : public gs::GsWidget {
public:
    LoggingWidget(std::string name, Log* log) : FName(std::move(name)), FLog(log)
    {
        SetOnPaint(gs::GsNotifyEvent::Bind<&LoggingWidget::PaintEvent>(this));
        SetOnClick(gs::GsNotifyEvent::Bind<&LoggingWidget::ClickEvent>(this));
        SetOnMouseDown(gs::GsMouseEvent::Bind<&LoggingWidget::DownEvent>(this));
        SetOnMouseUp(gs::GsMouseEvent::Bind<&LoggingWidget::UpEvent>(this));
        SetOnMouseMove(gs::GsMouseMoveEvent::Bind<&LoggingWidget::MoveEvent>(this));
        SetOnMouseEnter(gs::GsNotifyEvent::Bind<&LoggingWidget::EnterEvent>(this));
        SetOnMouseLeave(gs::GsNotifyEvent::Bind<&LoggingWidget::LeaveEvent>(this));
    }
    ~LoggingWidget() override
    {
        if (FLog)
            Write("destroyed");
    }

    const std::string& Name() const { return FName; }

    void Paint(TBitmap*, const TRect& r) override
    {
        Write("Paint(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
              std::to_string(r.Bottom) + ")");
    }
    void MouseMove(TShiftState s, int x, int y) override { Write("MouseMove(" + Args(s, x, y) + ")"); }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Write("MouseDown(" + std::to_string(b) + "," + Args(s, x, y) + ")");
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        Write("MouseUp(" + std::to_string(b) + "," + Args(s, x, y) + ")");
    }
    void MouseEnter() override { Write("MouseEnter"); }
    void MouseLeave() override { Write("MouseLeave"); }
    void ChildPressed(gs::GsWidget* child) override
    {
        auto* named = dynamic_cast<LoggingWidget*>(child);
        Write("ChildPressed(" + (named ? named->FName : std::string(child ? "?" : "null")) + ")");
    }

    void Detach() { FLog = nullptr; }

private:
    static std::string Args(TShiftState s, int x, int y)
    {
        return std::to_string(s) + "," + std::to_string(x) + "," + std::to_string(y);
    }
    void Write(const std::string& what)
    {
        if (FLog)
            FLog->push_back(FName + "." + what);
    }
    void PaintEvent(gs::GsWidget*) { Write("OnPaint"); }
    void ClickEvent(gs::GsWidget*) { Write("OnClick"); }
    void DownEvent(gs::GsWidget*, TMouseButton b, TShiftState s, int x, int y)
    {
        Write("OnMouseDown(" + std::to_string(b) + "," + Args(s, x, y) + ")");
    }
    void UpEvent(gs::GsWidget*, TMouseButton b, TShiftState s, int x, int y)
    {
        Write("OnMouseUp(" + std::to_string(b) + "," + Args(s, x, y) + ")");
    }
    void MoveEvent(gs::GsWidget*, TShiftState s, int x, int y) { Write("OnMouseMove(" + Args(s, x, y) + ")"); }
    void EnterEvent(gs::GsWidget*) { Write("OnMouseEnter"); }
    void LeaveEvent(gs::GsWidget*) { Write("OnMouseLeave"); }

    std::string FName;
    Log* FLog;
};

// A pf32bit or pf24bit bitmap of the given size with every pixel set.
inline void Fill(TBitmap& b, TPixelFormat format, int w, int h, BYTE blue, BYTE green, BYTE red, BYTE alpha = 0)
{
    b.SetPixelFormat(format);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.SetSize(w, h);
    int bpp = format == pf32bit ? 4 : 3;
    for (int y = 0; y < h; ++y) {
        BYTE* row = static_cast<BYTE*>(b.ScanLine(y));
        for (int x = 0; x < w; ++x) {
            row[x * bpp] = blue;
            row[x * bpp + 1] = green;
            row[x * bpp + 2] = red;
            if (bpp == 4)
                row[x * bpp + 3] = alpha;
        }
    }
}

inline void SetPixel(TBitmap& b, int x, int y, BYTE blue, BYTE green, BYTE red, BYTE alpha)
{
    BYTE* p = static_cast<BYTE*>(b.ScanLine(y)) + x * 4;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
    p[3] = alpha;
}

// "b,g,r,a" (or "b,g,r" for 24-bit) of one pixel, for exact comparisons.
inline std::string PixelAt(TBitmap& b, int x, int y)
{
    int bpp = b.PixelFormat() == pf32bit ? 4 : 3;
    const BYTE* p = static_cast<const BYTE*>(b.ScanLine(y)) + x * bpp;
    std::ostringstream s;
    s << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
    if (bpp == 4)
        s << "," << int(p[3]);
    return s.str();
}

inline BYTE AlphaAt(TBitmap& b, int x, int y)
{
    return static_cast<const BYTE*>(b.ScanLine(y))[x * 4 + 3];
}

// A black, fully transparent 32-bit frame, as the host prepares it.
inline void NewFrame(TBitmap& b, int w, int h)
{
    b.SetPixelFormat(pf32bit);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.SetSize(w, h);
}

} // namespace widgettest
