#pragma once
// Bound callbacks: a member function together with the object it is called
// on. An event whose function is unset is skipped when raised.

#include <windows.h>

#include <cstdint>

class TObject;

template <typename... Args>
class TMethod {
public:
    using Code = void (*)(void* data, Args... args);

    TMethod() = default;

    // TMethod<...>::Bind<&Class::Member>(object)
    template <auto Member, typename C>
    static TMethod Bind(C* object)
    {
        return TMethod(object, [](void* data, Args... args) { (static_cast<C*>(data)->*Member)(args...); });
    }

    bool Assigned() const { return FCode != nullptr; }
    explicit operator bool() const { return Assigned(); }

    // Raises the event; does nothing when it is unset.
    void operator()(Args... args) const
    {
        if (FCode)
            FCode(FData, args...);
    }

    void* Data() const { return FData; }
    bool operator==(const TMethod& o) const { return FData == o.FData && FCode == o.FCode; }
    bool operator!=(const TMethod& o) const { return !(*this == o); }

private:
    TMethod(void* data, Code code) : FData(data), FCode(code) {}

    void* FData = nullptr;
    Code FCode = nullptr;
};

enum TMouseButton : std::uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Keys and buttons held during a mouse event, one bit each.
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1 << 0;
constexpr TShiftState ssAlt = 1 << 1;
constexpr TShiftState ssCtrl = 1 << 2;
constexpr TShiftState ssLeft = 1 << 3;
constexpr TShiftState ssRight = 1 << 4;
constexpr TShiftState ssMiddle = 1 << 5;
constexpr TShiftState ssDouble = 1 << 6;

using TNotifyEvent = TMethod<TObject*>;
using TMouseEvent = TMethod<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TMethod<TObject*, TShiftState, int, int>;
// Key is a virtual-key code; a handler sets it to 0 when it took the key.
using TKeyEvent = TMethod<TObject*, WORD&, TShiftState>;
// A key pressed, as TKeyEvent; Repeat is set for the auto-repeats of a key
// held down.
using TKeyDownEvent = TMethod<TObject*, WORD&, TShiftState, bool>;
// A WM_GETOBJECT message (wParam, lParam); a handler that answers it sets
// the result, which is otherwise left 0 for the system's answer.
using TGetObjectEvent = TMethod<TObject*, WPARAM, LPARAM, LRESULT&>;
