#pragma once
// A solid GDI brush with a lazily created HBRUSH.

#include "Handles.h"
#include "TPersistent.h"

class TBrush : public TPersistent {
public:
    TBrush();
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // The GDI brush; created on first use, owned by this object.
    HBRUSH Handle();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& value) { FOnChange = value; }

    void Assign(TPersistent* Source) override;

private:
    void Changed();

    TColor FColor = clWhite;
    TGdiObject<HBRUSH> FHandle;
    TNotifyEvent FOnChange;
};
