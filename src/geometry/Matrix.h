#pragma once
// A matrix held as owned row vectors of one scalar kind.

#include <memory>
#include <string>
#include <vector>

#include "geometry/Vector.h"

class Matrix final : public NumObject {
public:
    // rows x columns zeros of the kind; an unknown kind or a negative size gives an empty
    // matrix whose status is "error".
    Matrix(const std::string& kind, int rows, int columns);

    int Rows() const { return static_cast<int>(m_rows.size()); }
    // The element count of row 0; 0 for a matrix without rows.
    int Columns() const { return m_rows.empty() ? 0 : m_rows.front()->Count(); }
    // Row access; callers keep the index below Rows().
    Vector& operator[](int row) { return *m_rows[static_cast<std::size_t>(row)]; }
    const Vector& operator[](int row) const { return *m_rows[static_cast<std::size_t>(row)]; }

    // The n x n identity, n = Columns(), with ones of the first element's kind.
    std::unique_ptr<Matrix> Identity() const;
    // Element-wise copy when both have the same shape and kind; otherwise nothing happens.
    void CopyFrom(const Matrix& other);
    // Gauss-Jordan with partial pivoting. A pivot no larger than 1e-05 in size, an empty or
    // a non-square matrix gives a result whose status is "error".
    std::unique_ptr<Matrix> Inverse() const;
    // This times the column vector. A vector whose length is not Columns() or whose kind
    // differs gives a zero vector of the vector's kind with status "error".
    std::unique_ptr<Vector> MulVector(const Vector& vector) const;

    static constexpr double kPivotFloor = 1e-05;

private:
    void SwapRows(int a, int b) { m_rows[static_cast<std::size_t>(a)].swap(m_rows[static_cast<std::size_t>(b)]); }

    std::vector<std::unique_ptr<Vector>> m_rows;
};
