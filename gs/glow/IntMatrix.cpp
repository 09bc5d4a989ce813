#include "IntMatrix.h"

namespace gs {

IntMatrix AllocIntMatrix(int rows, int cols)
{
    IntMatrix m = new std::int32_t*[rows];
    int allocated = 0;
    try {
        for (; allocated < rows; ++allocated)
            m[allocated] = new std::int32_t[cols];
    } catch (...) {
        FreeIntMatrix(m, allocated);
        throw;
    }
    return m;
}

void FreeIntMatrix(IntMatrix m, int rows)
{
    if (!m)
        return;
    for (int i = 0; i < rows; ++i)
        delete[] m[i];
    delete[] m;
}

} // namespace gs
