#pragma once
// A vector of owned scalars of one kind. The scratch scalar holds the last dot product.

#include <memory>
#include <string>
#include <vector>

#include "geometry/NumScalar.h"

class Vector final : public NumObject {
public:
    // A kind beginning with 'R' gives Real zeros, 'C' complex zeros; any other kind, or a
    // negative count, gives an empty vector whose status is "error".
    Vector(const std::string& kind, int count);

    int Count() const { return static_cast<int>(m_elements.size()); }
    // Element access; callers keep the index below Count().
    NumScalar& operator[](int i) { return *m_elements[static_cast<std::size_t>(i)]; }
    const NumScalar& operator[](int i) const { return *m_elements[static_cast<std::size_t>(i)]; }

    // Sum of conj(other[i]) x this[i], kept in the scratch scalar and returned. Vectors of
    // different lengths give 0 with status "error".
    const NumScalar& Dot(const Vector& other);
    // Square root of the size of the vector's dot product with itself.
    double Norm();
    const NumScalar& Scratch() const { return *m_pScratch; }

private:
    std::unique_ptr<NumScalar> m_pScratch;
    std::vector<std::unique_ptr<NumScalar>> m_elements;
};
