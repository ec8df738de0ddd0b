#include "world/dimensions.h"

namespace morvane {

void fitEntrepreneurs(EntrepreneurLayout& e) {
    // The bar minimums always fit (5 x 3 = 15), so the loops stop there at the latest.
    while ((e.DistCol + 1) * e.ColEmp > kColumnasBar.max && e.ColEmp > kColEmpBar.min) --e.ColEmp;
    while ((e.DistFil + 1) * e.FilEmp > kFilasBar.max && e.FilEmp > kFilEmpBar.min) --e.FilEmp;
}

void setEntrepreneurBar(EntrepreneurLayout& e, EntrepreneurBar bar, int value) {
    switch (bar) {
        case EntrepreneurBar::ColEmp:
            e.ColEmp = kColEmpBar.clamp(value);
            break;
        case EntrepreneurBar::DistCol:
            e.DistCol = kDistColBar.clamp(value);
            break;
        case EntrepreneurBar::FilEmp:
            e.FilEmp = kFilEmpBar.clamp(value);
            break;
        case EntrepreneurBar::DistFil:
            e.DistFil = kDistFilBar.clamp(value);
            break;
    }
    fitEntrepreneurs(e);
}

namespace {

std::vector<int> entrepreneurLines(int dist, int size) {
    std::vector<int> lines;
    for (int i = dist - 1; i <= size - 1; i += dist + 1) lines.push_back(i);
    return lines;
}

}  // namespace

EntrepreneurGrid layEntrepreneurs(const EntrepreneurLayout& e) {
    EntrepreneurGrid g;
    g.Cols = (e.DistCol + 1) * e.ColEmp;
    g.Rows = (e.DistFil + 1) * e.FilEmp;
    g.redRows = entrepreneurLines(e.DistFil, g.Rows);
    g.redCols = entrepreneurLines(e.DistCol, g.Cols);
    return g;
}

void applyEntrepreneurGrid(const EntrepreneurGrid& g, std::int16_t& rows, std::int16_t& columns) {
    rows = static_cast<std::int16_t>(kFilasBar.clamp(g.Rows));
    columns = static_cast<std::int16_t>(kColumnasBar.clamp(g.Cols));
}

}  // namespace morvane
