#pragma once
// Grey-level dilation with a weighted window: every output cell is the largest
// of its neighbours' values, each multiplied by the weight of its place in the
// window, divided by a fixed-point scale.

#include "Filter.h"

namespace gs {

class NeighborWeightedFilter : public Filter {
public:
    // Takes ownership of weights: (2 * radiusY + 1) rows of (2 * radiusX + 1)
    // cells, weights[radiusY][radiusX] the centre; divisor is the value that
    // stands for 1.0.
    NeighborWeightedFilter(IntMatrix weights, int radiusY, int radiusX, int divisor);
    ~NeighborWeightedFilter() override;

    NeighborWeightedFilter(const NeighborWeightedFilter&) = delete;
    NeighborWeightedFilter& operator=(const NeighborWeightedFilter&) = delete;

    int Compute(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, int i, int j) const override;

    IntMatrix Weights() const { return FWeights; }
    int Divisor() const { return FDivisor; }
    int RadiusY() const { return FRadiusY; }
    int RadiusX() const { return FRadiusX; }

protected:
    void ApplyBlock(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
                    int targetRowOffset, int targetColOffset) const override;

private:
    bool ApplyBytes(const IntMatrix source, int rowOffset, int colOffset, int rows, int cols, IntMatrix target,
                    int targetRowOffset, int targetColOffset) const;

    IntMatrix FWeights;
    int FDivisor;
    int FRadiusY;
    int FRadiusX;
};

} // namespace gs
