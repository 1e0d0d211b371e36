// Values of an opened grid at any point: bilinear interpolation in the cell holding the point
// (continued flat up to one increment beyond the node rectangle), or a natural bicubic spline
// over an n × n window of nodes.

#include <cmath>

#include "grids/grid.hpp"

namespace zelvo {
namespace {

constexpr double kIndexTolerance = 1e-10;
constexpr int kStatusInside = 0;
constexpr int kStatusOutside = 2;
constexpr int kStatusNotLoaded = 3;
constexpr int kStatusNotFinite = kInterpolationNotFinite;

bool allFinite(const std::vector<double>& values) {
    for (double value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

// A node the interpolation needs holds no number (NaN or an infinity): the point is treated as
// outside the grid, and no value derived from that node is given.
int notFinite(std::vector<double>& values, std::size_t count) {
    values.assign(count, 0.0);
    return kStatusNotFinite;
}

}  // namespace

int CGrille::interpolate(int unit, const std::array<double, 3>& point, std::vector<double>& values,
                         int& code) const {
    return apply(unit, point, values, code, header.INTERPOLATION_TYPE);
}

int CGrille::apply(int unit, const std::array<double, 3>& point, std::vector<double>& values, int& code,
                   int type) const {
    double x = convertGridAngle(point[0], unit, header.NODE_COORD_UNIT);
    const double y = convertGridAngle(point[1], unit, header.NODE_COORD_UNIT);
    if (x < 0 && header.X_MIN >= 0) x += 360;
    // Values that are not in memory, or a type that is no interpolation, must not pass for
    // real values: they read as a point outside the grid.
    if (nodeData_ == nullptr || (type != kInterpolationBilinear && type != kInterpolationSpline)) {
        values.assign(static_cast<std::size_t>(std::max(header.VALUES_NUMBER, 0)),
                      header.VALUE_UNK_TO_ZERO == 1 ? 0.0 : header.VALUE_UNK);
        return kStatusNotLoaded;
    }
    if (type == kInterpolationBilinear) return interpolateBilinear(x, y, values, code);
    return interpolateSpline(header.INTERPOLATION_ORDER, x, y, values, code);
}

// Bilinear interpolation in node units; accurate to the rounding of four products. Exactly
// reproduces node values at nodes and is linear along cell edges.
int CGrille::interpolateBilinear(double x, double y, std::vector<double>& values, int& code) const {
    const std::size_t count = static_cast<std::size_t>(std::max(header.VALUES_NUMBER, 0));
    const double u = (x - header.X_MIN) / header.X_INC;
    const double v = (y - header.Y_MIN) / header.Y_INC;
    const double fi = grid_numbers::nearestIntegerWithin(u, kIndexTolerance);
    const double fj = grid_numbers::nearestIntegerWithin(v, kIndexTolerance);
    if (!(fi >= -1 && fi < header.N_COLUMNS && fj >= -1 && fj < header.N_LINES)) {
        values.assign(count, header.VALUE_UNK_TO_ZERO == 1 ? 0.0 : header.VALUE_UNK);
        return kStatusOutside;
    }
    const int i = static_cast<int>(fi);
    const int j = static_cast<int>(fj);
    const double fx = u - i;
    const double fy = v - j;

    // The four corners of every interpolation go through the same buffers.
    thread_local std::vector<double> sw, nw, se, ne;
    int swCode = 0, nwCode = 0, seCode = 0, neCode = 0;
    nodeValues(i, j, sw, swCode);
    nodeValues(i, j + 1, nw, nwCode);
    nodeValues(i + 1, j, se, seCode);
    nodeValues(i + 1, j + 1, ne, neCode);

    if (!allFinite(sw) || !allFinite(nw) || !allFinite(se) || !allFinite(ne)) return notFinite(values, count);

    const int lastColumn = header.N_COLUMNS - 1;
    const int lastLine = header.N_LINES - 1;
    // Corners outside the grid take the values of the node they face; the code is that of the
    // nearest real node, a fraction of exactly 0.5 going to the higher index.
    if (i == -1 && j == -1) {
        sw = nw = se = ne;
        code = neCode;
    } else if (i == -1 && j == lastLine) {
        sw = nw = ne = se;
        code = seCode;
    } else if (i == -1) {
        sw = se;
        nw = ne;
        code = fy < 0.5 ? seCode : neCode;
    } else if (i == lastColumn && j == -1) {
        sw = se = ne = nw;
        code = nwCode;
    } else if (i == lastColumn && j == lastLine) {
        nw = se = ne = sw;
        code = swCode;
    } else if (i == lastColumn) {
        se = sw;
        ne = nw;
        code = fy < 0.5 ? swCode : nwCode;
    } else if (j == -1) {
        sw = nw;
        se = ne;
        code = fx < 0.5 ? nwCode : neCode;
    } else if (j == lastLine) {
        nw = sw;
        ne = se;
        code = fx < 0.5 ? swCode : seCode;
    } else if (fx < 0.5) {
        code = fy < 0.5 ? swCode : nwCode;
    } else {
        code = fy < 0.5 ? seCode : neCode;
    }

    values.assign(count, 0.0);
    for (std::size_t k = 0; k < count; ++k) {
        if (header.VALUE_UNK != 0 && (sw[k] == header.VALUE_UNK || nw[k] == header.VALUE_UNK ||
                                      se[k] == header.VALUE_UNK || ne[k] == header.VALUE_UNK)) {
            values[k] = header.VALUE_UNK;
            continue;
        }
        const double translation = k < header.TRANSLATION.size() ? header.TRANSLATION[k] : 0.0;
        values[k] = sw[k] * (1 - fx) * (1 - fy) + nw[k] * (1 - fx) * fy + se[k] * fx * (1 - fy) +
                    ne[k] * fx * fy + translation;
    }
    if (!allFinite(values)) return notFinite(values, count);
    return kStatusInside;
}

// Bicubic natural spline over the n × n nodes around the point (the window is shifted inward
// at the grid's edges); beyond the window's last node it continues along the end slope.
int CGrille::interpolateSpline(int n, double x, double y, std::vector<double>& values, int& code) const {
    const std::size_t count = static_cast<std::size_t>(std::max(header.VALUES_NUMBER, 0));
    double u = (x - header.X_MIN) / header.X_INC;
    double v = (y - header.Y_MIN) / header.Y_INC;
    grid_numbers::snapToInteger(u, kIndexTolerance);
    grid_numbers::snapToInteger(v, kIndexTolerance);
    const double fi = grid_numbers::nearestIntegerWithin(u, kIndexTolerance);
    const double fj = grid_numbers::nearestIntegerWithin(v, kIndexTolerance);
    if (n < 1 || !(fi >= 0 && fi < header.N_COLUMNS && fj >= 0 && fj < header.N_LINES)) {
        values.assign(count, header.VALUE_UNK_TO_ZERO == 1 ? 0.0 : header.VALUE_UNK);
        return kStatusOutside;
    }
    const int i = static_cast<int>(fi);
    const int j = static_cast<int>(fj);
    const int half = static_cast<int>(grid_numbers::nearestIntegerWithin(n * 0.5, kIndexTolerance));
    int i0 = std::max(i - half + 1, 0);
    int j0 = std::max(j - half + 1, 0);
    if (i0 + n > header.N_COLUMNS) i0 = header.N_COLUMNS - n;
    if (j0 + n > header.N_LINES) j0 = header.N_LINES - n;

    const std::size_t size = static_cast<std::size_t>(n);
    // window[(a × n + b) × count + k]: value k of node (i0 + a, j0 + b).
    std::vector<double> window(size * size * count);
    std::vector<double> node;
    bool unknown = false;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            int nodeCode = 0;
            nodeValues(i0 + a, j0 + b, node, nodeCode);
            for (std::size_t k = 0; k < count; ++k) {
                window[(static_cast<std::size_t>(a) * size + static_cast<std::size_t>(b)) * count + k] =
                    node[k];
                if (header.VALUE_UNK != 0 && node[k] == header.VALUE_UNK) unknown = true;
            }
            if (!allFinite(node)) return notFinite(values, count);
            if (std::fabs(u - i0 - a) <= 0.5 && std::fabs(v - j0 - b) <= 0.5) code = nodeCode;
        }
    }
    values.assign(count, 0.0);
    if (unknown) {
        values.assign(count, header.VALUE_UNK);
        return std::isfinite(header.VALUE_UNK) ? kStatusInside : notFinite(values, count);
    }
    const double tColumn = u - i0 + 1;
    const double tLine = v - j0 + 1;
    std::vector<double> line(size), column(size), second(size);
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t b = 0; b < size; ++b) {
            for (std::size_t a = 0; a < size; ++a) line[a] = window[(a * size + b) * count + k];
            splineSecondDerivatives(line.data(), n, second.data());
            column[b] = splineEvaluate(tColumn, line.data(), n, second.data());
        }
        splineSecondDerivatives(column.data(), n, second.data());
        values[k] = splineEvaluate(tLine, column.data(), n, second.data());
    }
    if (!allFinite(values)) return notFinite(values, count);
    return kStatusInside;
}

// Second derivatives of the natural cubic spline with unit spacing (zero at both ends), by
// elimination of the tridiagonal system.
void splineSecondDerivatives(const double* y, int n, double* m) {
    if (n <= 0) return;
    std::vector<double> w(static_cast<std::size_t>(n), 0.0), e(static_cast<std::size_t>(n), 0.0);
    for (int i = 1; i + 1 < n; ++i) {
        const double p = 0.5 * w[i - 1] + 2;
        w[i] = -0.5 / p;
        e[i] = (3 * (y[i + 1] - 2 * y[i] + y[i - 1]) - 0.5 * e[i - 1]) / p;
    }
    m[n - 1] = 0;
    for (int i = n - 2; i >= 1; --i) m[i] = w[i] * m[i + 1] + e[i];
    m[0] = 0;
}

// The spline at t (positions 1..n), straight beyond both ends with the end slopes.
double splineEvaluate(double t, const double* y, int n, const double* m) {
    if (n == 1) return y[0];
    if (t < 1) return y[0] + (t - 1) * (y[1] - y[0] - m[1] / 6);
    if (t > n) return y[n - 1] + (t - n) * (y[n - 1] - y[n - 2] + m[n - 2] / 6);
    if (t == n) return y[n - 1];
    const int p = static_cast<int>(t);
    const double f = t - p;
    const double a = y[p - 1], b = y[p];
    const double ma = m[p - 1], mb = m[p];
    return a + f * ((b - a - ma / 3 - mb / 6) + f * (ma / 2 + f * (mb - ma) / 6));
}

}  // namespace zelvo
