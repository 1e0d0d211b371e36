#pragma once
// Evaluation of the series coefficients written as polynomials in e².

namespace zelvo {

// Σ row[k] (e²)^k for k = 0…4, powers by repeated multiplication.
inline double polynomialInE2(const double (&row)[5], double e2) {
    double sum = 0.0;
    double power = 1.0;
    for (int k = 0; k < 5; ++k) {
        sum += row[k] * power;
        power *= e2;
    }
    return sum;
}

}  // namespace zelvo
