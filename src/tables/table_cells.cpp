#include "tables/table_cells.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "core/format.h"
#include "forms/units.h"

namespace kelvane {

namespace {

// The SI value of variable v typed as the display text of `shown`.
double Typed(const CellRecipe& r, int v, double shown) {
    const FluidConstants& c = *r.units.constants;
    const double x = ParseStrict(FormatDisplay(shown));
    switch (v) {
        case 0: return TemperatureToK(c, r.units.unitT, x);
        case 1: return x * PressureFactor(c, r.units.unitP);
        case 3:
        case 4: return x * AmountFactor(c, r.units.unitAmount);
        default: return DensityFromDisplay(c, x, r.units.unitRho, r.units.densityMode);
    }
}

struct RowCells {
    std::vector<Cell> cells;
    std::exception_ptr error;  // a conversion error at cell errorAt
    int errorAt = -1;
};

void ComputeRow(const CellRecipe& recipe, int i, int n, const std::function<std::pair<double, double>(int, int)>& value,
                RowCells& out) {
    out.cells.resize(n);
    for (int j = 0; j < n; ++j) {
        Cell& cell = out.cells[j];
        try {
            const auto [x, y] = value(i, j);
            cell.input = CellInput(recipe, x, y);
        } catch (...) {
            out.error = std::current_exception();
            out.errorAt = j;
            out.cells.resize(j);
            return;
        }
        cell.result = Calculate(*recipe.fluid, cell.input);
        cell.text = FieldText(*recipe.property, cell.result, recipe.units);
    }
}

}  // namespace

PointInput CellInput(const CellRecipe& recipe, double x, double y) {
    PointInput in;
    const int r = recipe.rowVariable, c = recipe.columnVariable;
    // (T, P), (T, rho), and P with h or s on an isobar.
    in.inputVar = r == 3 || c == 3 ? 2 : r == 4 || c == 4 ? 3 : r + c - 1;
    in.wavelength = recipe.wavelength;
    const double a = Typed(recipe, r, x), b = Typed(recipe, c, y);
    double values[5] = {0, 0, 0, 0, 0};
    values[r] = a;
    values[c] = b;
    in.T = values[0];
    if (in.inputVar == 1)
        in.rho = values[2];
    else
        in.P = values[1];
    in.h = values[3];
    in.s = values[4];
    return in;
}

void ComputeCells(const CellRecipe& recipe, int rows, const std::function<int(int)>& columns,
                  const std::function<std::pair<double, double>(int, int)>& value, int jobs,
                  const std::function<bool(int, int, const Cell&)>& take) {
    auto deliver = [&](int i, RowCells& row) {
        for (int j = 0; j < static_cast<int>(row.cells.size()); ++j)
            if (!take(i, j, row.cells[j])) return false;
        if (row.error) std::rethrow_exception(row.error);
        return true;
    };

    if (jobs <= 1 || rows <= 1) {
        for (int i = 0; i < rows; ++i) {
            RowCells row;
            ComputeRow(recipe, i, columns(i), value, row);
            if (!deliver(i, row)) return;
        }
        return;
    }

    // Workers take rows in order, at most `window` rows ahead of the row being
    // delivered, so that the memory held stays bounded whatever the table's size.
    const int window = std::max(4 * jobs, 16);
    std::vector<RowCells> slots(window);
    std::vector<int> slotRow(window, -1);  // row held by a slot, -1 when free
    std::vector<char> ready(window, 0);
    std::mutex m;
    std::condition_variable changed;
    int nextRow = 0, delivering = 0;
    bool quit = false;

    auto work = [&] {
        for (;;) {
            int i;
            {
                std::unique_lock lock(m);
                changed.wait(lock, [&] { return quit || nextRow >= rows || nextRow < delivering + window; });
                if (quit || nextRow >= rows) return;
                i = nextRow++;
                slotRow[i % window] = i;
                ready[i % window] = 0;
            }
            RowCells row;
            ComputeRow(recipe, i, columns(i), value, row);
            {
                std::lock_guard lock(m);
                slots[i % window] = std::move(row);
                ready[i % window] = 1;
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> threads;
    const int n = std::min(jobs, rows);
    threads.reserve(n);
    for (int k = 0; k < n; ++k) threads.emplace_back(work);
    struct Join {
        std::vector<std::thread>& threads;
        std::mutex& m;
        std::condition_variable& changed;
        bool& quit;
        ~Join() {
            {
                std::lock_guard lock(m);
                quit = true;
            }
            changed.notify_all();
            for (std::thread& t : threads) t.join();
        }
    } join{threads, m, changed, quit};

    for (int i = 0; i < rows; ++i) {
        RowCells row;
        {
            std::unique_lock lock(m);
            changed.wait(lock, [&] { return slotRow[i % window] == i && ready[i % window]; });
            row = std::move(slots[i % window]);
            slots[i % window] = RowCells{};
            slotRow[i % window] = -1;
            delivering = i + 1;
        }
        changed.notify_all();
        if (!deliver(i, row)) return;
    }
}

}  // namespace kelvane
