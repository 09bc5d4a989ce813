#include "Filter.h"

namespace gs {

Filter::~Filter() = default;

void Filter::Apply(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
                   int targetRowOffset, int targetColOffset) const
{
    if (rows <= 0 || cols <= 0)
        return;
    ApplyBlock(source, rowOffset, colOffset, rows, cols, target, targetRowOffset, targetColOffset);
}

void Filter::ApplyBlock(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
                        int targetRowOffset, int targetColOffset) const
{
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            target[targetRowOffset + i][targetColOffset + j] = Compute(source, rowOffset, colOffset, rows, cols, i, j);
}

} // namespace gs
