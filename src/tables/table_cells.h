// The cells of a table computed by the engine, on one or several threads, and handed
// back one by one in the order of the file.
#pragma once

#include <functional>
#include <string>

#include "core/calculate.h"
#include "forms/fields.h"

namespace kelvane {

// What every cell of one table shares: the fluid, the display units of the main window
// when the table started, the variables of the two axes and the shown property.
struct CellRecipe {
    const Fluid* fluid = nullptr;
    DisplayUnits units;
    int rowVariable = 0, columnVariable = 1;  // 0 T, 1 P, 2 rho
    const FieldRow* property = nullptr;
    double wavelength = 589;
};

// The state point the main window computes when the row value x and the column value y
// are typed into its fields (each as its display-format text). Throws ConversionError
// where such a text is not a number (a value that is not finite).
PointInput CellInput(const CellRecipe& recipe, double x, double y);

// One computed cell.
struct Cell {
    PointInput input;
    PointResult result;
    std::string text;  // the text of the property's field
};

// Computes the cells (i, j) for i < rows and j < columns(i), with value(i, j) giving the
// row and column values, on `jobs` threads (1: the calling thread alone), and calls
// take(i, j, cell) for each in row order on the calling thread. take returns false to
// end the table: the cells after it are not delivered. A ConversionError of a cell is
// raised on the calling thread when that cell's turn comes.
void ComputeCells(const CellRecipe& recipe, int rows, const std::function<int(int)>& columns,
                  const std::function<std::pair<double, double>(int, int)>& value, int jobs,
                  const std::function<bool(int, int, const Cell&)>& take);

}  // namespace kelvane
