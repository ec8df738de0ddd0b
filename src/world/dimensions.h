#pragma once

#include <cstdint>
#include <vector>

namespace morvane {

// A scroll bar of the start-up window: its range and the value it starts with.
struct BarRange {
    int min, max, start;
    int clamp(int v) const { return v < min ? min : v > max ? max : v; }
};

// The world's size; 50 rows by 40 columns keeps the world within 2000 cells.
constexpr BarRange kFilasBar{5, 50, 40};     // vsbFilas, "Rows"
constexpr BarRange kColumnasBar{5, 40, 25};  // vsbColumnas, "Columns"
// The entrepreneur layout ("Empresarios").
constexpr BarRange kColEmpBar{3, 19, 3};  // vsbColEmp, "in Col": entrepreneurs per row
constexpr BarRange kDistColBar{1, 4, 2};  // vsbDistCol, "Distance X"
constexpr BarRange kFilEmpBar{3, 24, 3};  // vsbFilEmp, "in Row": entrepreneurs per column
constexpr BarRange kDistFilBar{1, 4, 2};  // vsbDistFil, "Distance Y"

struct EntrepreneurLayout {
    int ColEmp = kColEmpBar.start;
    int DistCol = kDistColBar.start;
    int FilEmp = kFilEmpBar.start;
    int DistFil = kDistFilBar.start;
};

enum class EntrepreneurBar { ColEmp, DistCol, FilEmp, DistFil };

// A change of one entrepreneur bar: the value (held within the bar's range) is stored, then the
// count of that direction is lowered until the layout fits the world's largest size.
void setEntrepreneurBar(EntrepreneurLayout& e, EntrepreneurBar bar, int value);

// While (DistCol + 1) x ColEmp > 40 lower ColEmp; while (DistFil + 1) x FilEmp > 50 lower FilEmp.
void fitEntrepreneurs(EntrepreneurLayout& e);

// The laid-out preview: its size and the 0-based grid rows and columns whose crossings are the
// entrepreneurs (painted red). Each entrepreneur is followed by DistFil empty rows and DistCol
// empty columns.
struct EntrepreneurGrid {
    int Cols = 0, Rows = 0;
    std::vector<int> redRows, redCols;
};
EntrepreneurGrid layEntrepreneurs(const EntrepreneurLayout& e);

// The world takes the layout's dimensions, as the rows and columns bars do.
void applyEntrepreneurGrid(const EntrepreneurGrid& g, std::int16_t& rows, std::int16_t& columns);

}  // namespace morvane
