// A GDI+ that cannot start: GdiplusStartup leaves the token 0. Everything
// else that dockhint imports fails too. It must export every GDI+ function
// that dockhint imports, or Windows refuses to start the program at all
// (the exit-status test compares the two lists).
#include <windows.h>

extern "C" {

__declspec(dllexport) int WINAPI GdiplusStartup(ULONG_PTR* token, const void*, void*)
{
    if (token)
        *token = 0;
    return 1; // GenericError
}
__declspec(dllexport) void WINAPI GdiplusShutdown(ULONG_PTR) {}
__declspec(dllexport) void* WINAPI GdipAlloc(SIZE_T)
{
    return nullptr;
}
__declspec(dllexport) void WINAPI GdipFree(void*) {}
__declspec(dllexport) int WINAPI GdipCreateBitmapFromFile(const WCHAR*, void** bitmap)
{
    *bitmap = nullptr;
    return 1;
}
__declspec(dllexport) int WINAPI GdipCreateBitmapFromFileICM(const WCHAR*, void** bitmap)
{
    *bitmap = nullptr;
    return 1;
}
__declspec(dllexport) int WINAPI GdipCreateHBITMAPFromBitmap(void*, HBITMAP* result, DWORD)
{
    *result = nullptr;
    return 1;
}
__declspec(dllexport) int WINAPI GdipBitmapLockBits(void*, const void*, UINT, int, void*)
{
    return 1;
}
__declspec(dllexport) int WINAPI GdipBitmapUnlockBits(void*, void*)
{
    return 1;
}
__declspec(dllexport) int WINAPI GdipDisposeImage(void*)
{
    return 0;
}
// The resampling's: no bitmap, no drawing.
__declspec(dllexport) int WINAPI GdipCreateBitmapFromScan0(int, int, int, int, BYTE*, void** b)
{
    *b = nullptr;
    return 1;
}
__declspec(dllexport) int WINAPI GdipGetImageGraphicsContext(void*, void** g)
{
    *g = nullptr;
    return 1;
}
__declspec(dllexport) int WINAPI GdipDeleteGraphics(void*)
{
    return 1;
}
__declspec(dllexport) int WINAPI GdipSetInterpolationMode(void*, int)
{
    return 1;
}
__declspec(dllexport) int WINAPI GdipSetPixelOffsetMode(void*, int)
{
    return 1;
}
__declspec(dllexport) int WINAPI
    GdipDrawImageRectRectI(void*, void*, int, int, int, int, int, int, int, int, int, const void*, void*, void*)
{
    return 1;
}
__declspec(dllexport) int WINAPI GdipCloneImage(void*, void** clone)
{
    *clone = nullptr;
    return 1;
}
}
