#pragma once
// A filter computes every cell of a target block from a source block of
// IntMatrix cells.

#include "IntMatrix.h"

namespace gs {

class Filter {
public:
    virtual ~Filter();

    // The output value for cell (i, j) of the rows x cols block whose top-left
    // cell is source[rowOffset][colOffset].
    virtual int Compute(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, int i,
                        int j) const = 0;

    // Fills target[targetRowOffset + i][targetColOffset + j] with Compute(..., i, j)
    // for every i < rows and j < cols.
    void Apply(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
               int targetRowOffset, int targetColOffset) const;

protected:
    // The work of Apply on a non-empty block. The default computes cell by
    // cell, rows outer, columns inner; a filter may override it with a faster
    // computation that gives the same values.
    virtual void ApplyBlock(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
                            int targetRowOffset, int targetColOffset) const;
};

} // namespace gs
