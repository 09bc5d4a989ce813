#pragma once

// Owns one reference to a COM object and releases it when it goes out of
// scope, or earlier through Reset.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return FObject; }
    T* Get() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }

    // For out parameters: drops the current reference first.
    T** Out()
    {
        Reset();
        return &FObject;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

    void Reset()
    {
        if (FObject) {
            FObject->Release();
            FObject = nullptr;
        }
    }

private:
    T* FObject = nullptr;
};
