#include "geometry/Matrix.h"

Matrix::Matrix(const std::string& kind, int rows, int columns) : NumObject(kind, "Matrix") {
    const char letter = kind.empty() ? '\0' : kind[0];
    if ((letter != 'R' && letter != 'C') || rows < 0 || columns < 0) {
        SetStatus(numeric::kError);
        return;
    }
    m_rows.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) m_rows.push_back(std::make_unique<Vector>(kind, columns));
}

std::unique_ptr<Matrix> Matrix::Identity() const {
    const int n = Columns();
    if (n == 0) return std::make_unique<Matrix>(Kind(), 0, 0);
    const NumScalar& first = (*this)[0][0];
    auto identity = std::make_unique<Matrix>(first.Kind(), n, n);
    const auto one = first.NewOneLike(first);
    for (int i = 0; i < n; ++i) (*identity)[i][i].Assign(*one);
    return identity;
}

void Matrix::CopyFrom(const Matrix& other) {
    if (other.Rows() != Rows() || other.Columns() != Columns() || other.Kind() != Kind()) return;
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < Columns(); ++c) (*this)[r][c].Assign(other[r][c]);
}

std::unique_ptr<Matrix> Matrix::Inverse() const {
    const int n = Columns();
    if (n == 0 || Rows() != n || IsError()) {
        auto refused = std::make_unique<Matrix>(Kind(), 0, 0);
        refused->SetStatus(numeric::kError);
        return refused;
    }
    auto result = Identity();
    Matrix work(Kind(), n, n);
    work.CopyFrom(*this);

    for (int k = 0; k < n; ++k) {
        // Largest candidate in the column; the first of equal sizes wins.
        const NumScalar* pivot = &work[k][k];
        int pivotRow = k;
        for (int r = k; r < n; ++r) {
            if (work[r][k].AbsGreater(*pivot)) {
                pivot = &work[r][k];
                pivotRow = r;
            }
        }
        if (pivot->Abs() <= kPivotFloor) {
            result->SetStatus(numeric::kError);
            return result;
        }
        work.SwapRows(k, pivotRow);
        result->SwapRows(k, pivotRow);

        const auto scale = pivot->NewOneLike(*pivot);
        scale->DivAssign(*pivot);
        scale->ScaleVector(work[k]);
        scale->ScaleVector((*result)[k]);

        for (int r = 0; r < n; ++r) {
            if (r == k) continue;
            const auto factor = work[r][k].Copy();
            for (int j = 0; j < n; ++j) {
                work[r][j].SubAssign(*factor->Mul(work[k][j]));
                (*result)[r][j].SubAssign(*factor->Mul((*result)[k][j]));
            }
        }
    }
    return result;
}

std::unique_ptr<Vector> Matrix::MulVector(const Vector& vector) const {
    if (vector.Count() != Columns() || vector.Kind() != Kind() || IsError()) {
        auto refused = std::make_unique<Vector>(vector.Kind(), Rows());
        refused->SetStatus(numeric::kError);
        return refused;
    }
    auto product = std::make_unique<Vector>(Kind(), Rows());
    for (int i = 0; i < Rows(); ++i)
        for (int j = 0; j < Columns(); ++j) (*product)[i].AddAssign(*(*this)[i][j].Mul(vector[j]));
    return product;
}
