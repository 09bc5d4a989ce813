#pragma once
// Composes and drives the help panel shown by the host form.

#include "TBitmap.h"
#include "TPerPixelLayeredWindowMaker.h"

class Director {
public:
    Director();
    ~Director();
    Director(const Director&) = delete;
    Director& operator=(const Director&) = delete;

    void Run();

    void OnFormPaint(TObject* Sender);

private:
    int Scale = 1;
    gs::TPerPixelLayeredWindowMaker* LayeredWindow = nullptr;
};
