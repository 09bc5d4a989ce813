#pragma once
// Hands out filters and takes them back.

#include "Filter.h"

namespace gs {

class FilterFactory {
public:
    virtual ~FilterFactory();

    virtual Filter* GetFilter(int radius, int radius2) = 0;
    // Gives back a filter obtained from GetFilter.
    virtual void ReleaseFilter(Filter* filter) = 0;
};

} // namespace gs
