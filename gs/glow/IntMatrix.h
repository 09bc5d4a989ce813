#pragma once
// Rectangular tables of signed 32-bit integers: intensity images, glow masks
// and filter weights. One pointer a row; element [i][j] is row i, column j.

#include <cstdint>

namespace gs {

using IntMatrix = std::int32_t**;

// Allocates the row pointers and then each row of cols cells. The cells are
// not initialised.
IntMatrix AllocIntMatrix(int rows, int cols);

// Frees each of the rows and then the row pointers. A null matrix is ignored.
void FreeIntMatrix(IntMatrix m, int rows);

} // namespace gs
