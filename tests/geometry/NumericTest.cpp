#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>

#include "geometry/Matrix.h"

namespace {

// A scalar of a kind the library does not know.
class QuaternionScalar final : public NumScalar {
public:
    QuaternionScalar() : NumScalar("Quaternion", &m_value, false) {}
    bool AbsGreater(const NumScalar& other) const override { return Abs() > other.Abs(); }
    double Abs() const override { return std::fabs(m_value); }
    void Conjugate() override {}

private:
    double m_value = 2.0;
};

std::unique_ptr<Matrix> RealMatrix(std::initializer_list<std::initializer_list<double>> rows) {
    auto m = std::make_unique<Matrix>("Real", static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double v : row) (*m)[r][c++].AssignValue(v);
        ++r;
    }
    return m;
}

// The largest distance of a x b from the identity.
double DistanceOfProductFromIdentity(const Matrix& a, const Matrix& b) {
    double worst = 0;
    for (int i = 0; i < a.Rows(); ++i) {
        for (int j = 0; j < b.Columns(); ++j) {
            double sum = 0;
            for (int k = 0; k < a.Columns(); ++k) sum += a[i][k].Re() * b[k][j].Re();
            worst = std::max(worst, std::fabs(sum - (i == j ? 1.0 : 0.0)));
        }
    }
    return worst;
}

TEST(NumScalar, CreatedResultsFollowTheOtherOperandsKind) {
    const Real two(2);
    const Complex i(0, 1);
    const auto realSum = two.Add(Real(3));
    EXPECT_EQ(realSum->TypeName(), "Real");
    EXPECT_EQ(realSum->Re(), 5.0);

    const auto mixed = two.Mul(i);
    EXPECT_EQ(mixed->TypeName(), "Complex");
    EXPECT_EQ(mixed->Re(), 0.0);
    EXPECT_EQ(mixed->Im(), 2.0);

    // A complex operand on the left keeps its imaginary part with a real on the right.
    const auto widened = i.Add(two);
    EXPECT_EQ(widened->TypeName(), "Complex");
    EXPECT_EQ(widened->Re(), 2.0);
    EXPECT_EQ(widened->Im(), 1.0);
}

TEST(NumScalar, UnknownKindGivesRealZeroWithErrorStatus) {
    const Real one(1);
    const Complex z(1, 1);
    const QuaternionScalar odd;
    for (const auto& result : {one.Add(odd), one.Mul(odd), one.Div(odd), z.Add(odd), one.NewZeroLike(odd),
                               one.NewOneLike(odd)}) {
        EXPECT_EQ(result->TypeName(), "Real");
        EXPECT_EQ(result->Re(), 0.0);
        EXPECT_EQ(result->Status(), "error");
    }
    const auto fine = one.Add(Real(1));
    EXPECT_EQ(fine->Status(), "good");
}

TEST(NumScalar, ComplexProductQuotientAndSize) {
    const Complex a(1, 2), b(3, 4);
    const auto product = a.Mul(b);
    EXPECT_EQ(product->Re(), -5.0);
    EXPECT_EQ(product->Im(), 10.0);
    const auto quotient = a.Div(b);  // (1 + 2i)(3 - 4i) / 25
    EXPECT_DOUBLE_EQ(quotient->Re(), 11.0 / 25.0);
    EXPECT_DOUBLE_EQ(quotient->Im(), 2.0 / 25.0);
    EXPECT_EQ(b.Abs(), 5.0);
    EXPECT_TRUE(b.AbsGreater(Real(-4.9)));
    EXPECT_FALSE(b.AbsGreater(Complex(0, -5)));  // strictly greater only
    EXPECT_TRUE(Real(-3).AbsGreater(Real(2.5)));

    Complex c(2, -7);
    c.Conjugate();
    EXPECT_EQ(c.Im(), 7.0);
    Real r(2);
    r.Conjugate();
    EXPECT_EQ(r.Re(), 2.0);
}

TEST(NumScalar, InPlaceOperationsOnARealKeepTheRealPart) {
    Real r(6);
    r.MulAssign(Complex(0.5, 3));
    EXPECT_EQ(r.Re(), 3.0);
    EXPECT_EQ(r.Im(), 0.0);
    r.SubAssign(Real(1));
    r.DivAssign(Real(4));
    EXPECT_EQ(r.Re(), 0.5);
    r.Negate();
    EXPECT_EQ(r.Re(), -0.5);
    r.Assign(Complex(9, 9));
    EXPECT_EQ(r.Re(), 9.0);

    Complex z;
    z.Assign(Real(4));
    z.AddAssign(Complex(0, 1));
    EXPECT_EQ(z.Re(), 4.0);
    EXPECT_EQ(z.Im(), 1.0);
    z.AssignValue(2);
    EXPECT_EQ(z.Im(), 0.0);
}

TEST(NumScalar, ScalesVectorsIntoNewOrInPlace) {
    Vector v("Real", 3);
    for (int i = 0; i < 3; ++i) v[i].AssignValue(i + 1);
    const auto scaled = Real(2).MulVector(v);
    ASSERT_EQ(scaled->Count(), 3);
    EXPECT_EQ((*scaled)[2].Re(), 6.0);
    EXPECT_EQ(v[2].Re(), 3.0);

    const auto rotated = Complex(0, 1).MulVector(v);
    EXPECT_EQ(rotated->Kind(), "Complex");
    EXPECT_EQ((*rotated)[1].Im(), 2.0);

    Real(-1).ScaleVector(v);
    EXPECT_EQ(v[0].Re(), -1.0);
    EXPECT_EQ(v[2].Re(), -3.0);
}

TEST(Vector, DotConjugatesTheOtherOperand) {
    Vector a("Complex", 1), b("Complex", 1);
    a[0].Assign(Complex(1, 2));
    b[0].Assign(Complex(3, -1));
    const NumScalar& dot = a.Dot(b);  // (3 + i)(1 + 2i)
    EXPECT_EQ(dot.Re(), 1.0);
    EXPECT_EQ(dot.Im(), 7.0);
    EXPECT_EQ(&dot, &a.Scratch());

    Vector c("Complex", 1);
    c[0].Assign(Complex(3, 4));
    EXPECT_EQ(c.Norm(), 5.0);

    Vector r("Real", 2);
    r[0].AssignValue(3);
    r[1].AssignValue(-4);
    EXPECT_EQ(r.Norm(), 5.0);
    EXPECT_EQ(r.Dot(r).Status(), "good");
}

TEST(Vector, DotOfDifferentLengthsIsZeroAndFlagged) {
    Vector a("Real", 2), b("Real", 3);
    a[0].AssignValue(5);
    a.Dot(a);
    EXPECT_EQ(a.Scratch().Re(), 25.0);
    const NumScalar& dot = a.Dot(b);
    EXPECT_EQ(dot.Re(), 0.0);
    EXPECT_EQ(dot.Status(), "error");
    // A later good product clears the flag.
    EXPECT_EQ(a.Dot(a).Status(), "good");
}

TEST(Vector, UnknownKindOrNegativeCountGivesEmptyErrorVector) {
    const Vector odd("Quaternion", 4);
    EXPECT_EQ(odd.Count(), 0);
    EXPECT_EQ(odd.Status(), "error");
    const Vector negative("Real", -1);
    EXPECT_EQ(negative.Count(), 0);
    EXPECT_EQ(negative.Status(), "error");
    const Matrix badMatrix("Quaternion", 2, 2);
    EXPECT_EQ(badMatrix.Rows(), 0);
    EXPECT_EQ(badMatrix.Status(), "error");
}

TEST(Matrix, IdentityCopyAndProductWithAVector) {
    const auto m = RealMatrix({{1, 2, 3}, {4, 5, 6}});
    const auto identity = m->Identity();
    EXPECT_EQ(identity->TypeName(), "Matrix");
    EXPECT_EQ(identity->Status(), "good");
    ASSERT_EQ(identity->Rows(), 3);
    ASSERT_EQ(identity->Columns(), 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ((*identity)[i][j].Re(), i == j ? 1.0 : 0.0);
    EXPECT_EQ(Matrix("Real", 0, 0).Identity()->Rows(), 0);
    EXPECT_EQ(Matrix("Complex", 2, 2).Identity()->Kind(), "Complex");

    Vector v("Real", 3);
    for (int i = 0; i < 3; ++i) v[i].AssignValue(i + 1);
    const auto product = m->MulVector(v);
    EXPECT_EQ(product->TypeName(), "Vector");
    ASSERT_EQ(product->Count(), 2);
    EXPECT_EQ((*product)[0].Re(), 14.0);
    EXPECT_EQ((*product)[1].Re(), 32.0);
    EXPECT_EQ(product->Status(), "good");

    Matrix copy("Real", 2, 3);
    copy.CopyFrom(*m);
    EXPECT_EQ(copy[1][2].Re(), 6.0);
    Matrix otherShape("Real", 3, 2);
    otherShape.CopyFrom(*m);
    EXPECT_EQ(otherShape[1][1].Re(), 0.0);
    Matrix otherKind("Complex", 2, 3);
    otherKind.CopyFrom(*m);
    EXPECT_EQ(otherKind[0][0].Re(), 0.0);
}

TEST(Matrix, ProductWithAMismatchedVectorIsAFlaggedZeroVector) {
    const auto m = RealMatrix({{1, 2}, {3, 4}});
    Vector shortVector("Real", 1);
    shortVector[0].AssignValue(7);
    const auto refused = m->MulVector(shortVector);
    EXPECT_EQ(refused->Status(), "error");
    ASSERT_EQ(refused->Count(), 2);
    EXPECT_EQ((*refused)[0].Re(), 0.0);

    Vector complexVector("Complex", 2);
    const auto wrongKind = m->MulVector(complexVector);
    EXPECT_EQ(wrongKind->Status(), "error");
    EXPECT_EQ(wrongKind->Kind(), "Complex");
}

TEST(MatrixInverse, PivotAtTheFloorFailsJustAboveItSucceeds) {
    const auto atFloor = RealMatrix({{1, 0}, {0, 1e-05}});
    EXPECT_EQ(atFloor->Inverse()->Status(), "error");

    const auto above = RealMatrix({{1, 0}, {0, 1.1e-05}});
    const auto inverse = above->Inverse();
    EXPECT_EQ(inverse->Status(), "good");
    EXPECT_DOUBLE_EQ((*inverse)[1][1].Re(), 1.0 / 1.1e-05);

    // Negative pivots are judged by their size.
    EXPECT_EQ(RealMatrix({{-1e-05, 0}, {0, 1}})->Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{-2e-05, 0}, {0, 1}})->Inverse()->Status(), "good");
}

TEST(MatrixInverse, ZeroOnTheDiagonalSwapsRows) {
    const auto m = RealMatrix({{0, 1}, {2, 3}});
    const auto inverse = m->Inverse();
    ASSERT_EQ(inverse->Status(), "good");
    EXPECT_DOUBLE_EQ((*inverse)[0][0].Re(), -1.5);
    EXPECT_DOUBLE_EQ((*inverse)[0][1].Re(), 0.5);
    EXPECT_DOUBLE_EQ((*inverse)[1][0].Re(), 1.0);
    EXPECT_DOUBLE_EQ((*inverse)[1][1].Re(), 0.0);
    // The source is not changed by the work.
    EXPECT_EQ((*m)[0][0].Re(), 0.0);
    EXPECT_EQ((*m)[1][0].Re(), 2.0);
}

TEST(MatrixInverse, EightByEightSystemInvertsToWorkingPrecision) {
    auto m = std::make_unique<Matrix>("Real", 8, 8);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) (*m)[i][j].AssignValue(std::sin(1.0 + i * 8 + j) * 100.0 + (i == j ? 400.0 : 0.0));
    const auto inverse = m->Inverse();
    ASSERT_EQ(inverse->Status(), "good");
    EXPECT_LT(DistanceOfProductFromIdentity(*m, *inverse), 1e-12);
    EXPECT_LT(DistanceOfProductFromIdentity(*inverse, *m), 1e-12);
}

TEST(MatrixInverse, ComplexMatrixInverts) {
    Matrix m("Complex", 2, 2);
    m[0][0].Assign(Complex(0, 1));
    m[1][1].Assign(Complex(2, 0));
    const auto inverse = m.Inverse();
    ASSERT_EQ(inverse->Status(), "good");
    EXPECT_DOUBLE_EQ((*inverse)[0][0].Re(), 0.0);
    EXPECT_DOUBLE_EQ((*inverse)[0][0].Im(), -1.0);
    EXPECT_DOUBLE_EQ((*inverse)[1][1].Re(), 0.5);
}

TEST(MatrixInverse, SingularEmptyAndNonSquareMatricesFail) {
    EXPECT_EQ(RealMatrix({{1, 2}, {2, 4}})->Inverse()->Status(), "error");
    EXPECT_EQ(Matrix("Real", 0, 0).Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{1, 0, 0}, {0, 1, 0}})->Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{1, 0}, {0, 1}, {0, 0}})->Inverse()->Status(), "error");
}

}  // namespace
