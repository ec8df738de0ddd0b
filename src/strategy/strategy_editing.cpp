#include "strategy/strategy_editing.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "strategy/distribution.h"

namespace morvane {

namespace {

constexpr int kLowestX1 = 2;
constexpr int kHighestX2 = 98;

// Which inner point a click at x moves: 1 or 2.
int pickedPoint(const ListGenomePart& p, int x) {
    if (p.X1 <= p.X2) {
        const double middle = p.X1 + (p.X2 - p.X1) / 2.0;
        return x >= middle ? 2 : 1;
    }
    return std::abs(x - p.X2) < std::abs(x - p.X1) ? 2 : 1;
}

}  // namespace

int moveCurvePoint(ListGenomePart& p, int x, int y) {
    if (y < 0 || y > 100) return kNoPoint;
    const auto v = static_cast<std::uint8_t>(y);
    if (x < 0) {
        p.Y0 = v;
        return 0;
    }
    if (x > 100) {
        p.Y3 = v;
        return 3;
    }
    if (pickedPoint(p, x) == 2) {
        const int x2 = std::min(x, kHighestX2);
        if (x2 == p.X1) return kNoPoint;
        p.X2 = static_cast<std::uint8_t>(x2);
        p.Y2 = v;
        return 2;
    }
    const int x1 = std::max(x, kLowestX1);
    if (x1 == p.X2) return kNoPoint;
    p.X1 = static_cast<std::uint8_t>(x1);
    p.Y1 = v;
    return 1;
}

bool nudgeCurvePoint(ListGenomePart& p, int point, int dx, int dy) {
    const ListGenomePart before = p;
    auto value = [dy](std::uint8_t& y) {
        y = static_cast<std::uint8_t>(std::clamp(y + dy, 0, 100));
    };
    switch (point) {
        case 0:
            value(p.Y0);
            break;
        case 3:
            value(p.Y3);
            break;
        case 1: {
            const int x1 = std::clamp(p.X1 + dx, kLowestX1, 100);
            if (x1 == p.X2) return false;
            p.X1 = static_cast<std::uint8_t>(x1);
            value(p.Y1);
            break;
        }
        case 2: {
            const int x2 = std::clamp(p.X2 + dx, 0, kHighestX2);
            if (x2 == p.X1) return false;
            p.X2 = static_cast<std::uint8_t>(x2);
            value(p.Y2);
            break;
        }
        default:
            return false;
    }
    return !(p == before);
}

int cellSensibilitySum(const ListGenoma& g, int p) {
    const GenomePart cell = toCellForm(g).parte[p];
    return cell.SenIC + cell.SenIA + cell.SenIP;
}

bool sensibilitiesStorable(const ListGenoma& g) {
    return cellSensibilitySum(g, 0) == 100 && cellSensibilitySum(g, 1) == 100;
}

bool normalizeDistribution(StrategyList& list) {
    DistributionRows rows = distributionRows(list);
    int sum = 0;
    for (const auto& r : rows)
        if (r.active) sum += r.portion;
    if (sum == 0) return false;
    std::vector<int> order;
    int given = 0;
    std::array<int, kDistributionRows> remainder{};
    for (int i = 0; i < kDistributionRows; ++i) {
        if (!rows[i].active) continue;
        const int whole = 1000 * rows[i].portion;
        remainder[i] = whole % sum;
        rows[i].portion = whole / sum;
        given += rows[i].portion;
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return remainder[a] > remainder[b]; });
    for (int k = 0; given < 1000; ++k, ++given) ++rows[order[k]].portion;
    recomputeDistribution(list, rows);
    return true;
}

}  // namespace morvane
